// Cutting the crop rectangle out of a source picture.
#include "PictureCrop.h"

#include <algorithm>
#include <cstring>

#include "CropLimits.h"
#include "Errors.h"
#include "IntegerText.h"
#include "Messages.h"

namespace {

struct TCropRect {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

// Converts in the order of the fields, so the first text that is no integer is the one named.
TCropRect ConvertCropTexts(const TCropTexts& texts)
{
    TCropRect rect{};
    rect.x = StrToInt(texts.x);
    rect.y = StrToInt(texts.y);
    rect.width = StrToInt(texts.width);
    rect.height = StrToInt(texts.height);
    return rect;
}

// An empty crop would be written as an empty file, destroying what was there; a giant one
// would take the machine's memory or exceed what a JPEG can hold.
void RefuseUnmakeableCropSize(const TCropRect& rect)
{
    if (rect.width < 1 || rect.height < 1 || !PictureSizeFits(rect.width, rect.height))
        throw EInvalidCropSize(Messages::InvalidCropSize(rect.width, rect.height));
}

// The half-open span [first, end) of crop positions whose source position start + i lies in
// [0, sourceSize); empty when the crop misses the source. 64-bit, as start + size may pass
// the 32-bit range.
struct TSpan {
    std::int64_t first;
    std::int64_t end;
    bool Empty() const { return first >= end; }
};

TSpan InsideSource(std::int32_t start, std::int32_t size, std::int32_t sourceSize)
{
    const std::int64_t first = std::max<std::int64_t>(0, -static_cast<std::int64_t>(start));
    const std::int64_t end =
        std::min<std::int64_t>(size, static_cast<std::int64_t>(sourceSize) - start);
    return {first, end};
}

void CopyPaletteRow(const std::uint8_t* source, const std::vector<TPaletteEntry>& palette,
                    std::int64_t count, std::uint8_t* out)
{
    for (std::int64_t i = 0; i < count; ++i, out += 3) {
        const std::size_t index = source[i];
        if (index >= palette.size())
            continue;  // no colour to give: the pixel keeps its white
        out[0] = palette[index].blue;
        out[1] = palette[index].green;
        out[2] = palette[index].red;
    }
}

// Copies the pixels of the rectangle that lie inside the source; the others keep their white.
void CopyInsideSource(const TBitmap& source, const TCropRect& rect, TBitmap& crop)
{
    const TSpan columns = InsideSource(rect.x, rect.width, source.Width());
    const TSpan rows = InsideSource(rect.y, rect.height, source.Height());
    if (columns.Empty() || rows.Empty())
        return;
    const std::int64_t count = columns.end - columns.first;
    const std::int64_t sourceColumn = rect.x + columns.first;
    for (std::int64_t row = rows.first; row < rows.end; ++row) {
        const std::uint8_t* in = source.ScanLine(static_cast<std::int32_t>(rect.y + row)) +
                                 sourceColumn * source.BytesPerPixel();
        std::uint8_t* out = crop.ScanLine(static_cast<std::int32_t>(row)) + columns.first * 3;
        if (source.PixelFormat() == TPixelFormat::pf24bit)
            std::memcpy(out, in, static_cast<std::size_t>(count) * 3);
        else
            CopyPaletteRow(in, source.Palette(), count, out);
    }
}

}  // namespace

TBitmap CutCropPicture(const TBitmap& source, const TCropTexts& texts)
{
    const TCropRect rect = ConvertCropTexts(texts);
    RefuseUnmakeableCropSize(rect);
    TBitmap crop;
    crop.SetSize(rect.width, rect.height, TPixelFormat::pf24bit);
    CopyInsideSource(source, rect, crop);
    return crop;
}
