#include "JpegRegion.h"

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "Errors.h"
#include "JpegObjects.h"
#include "JpegSourceChecks.h"
#include "JpegRegionDither.h"
#include "JpegRegionPlan.h"
#include "JpegRegionSource.h"
#include "MemoryTuning.h"
#include "Messages.h"

namespace {

// The parameters of the full decode with palette mode off; the pixels only match with these.
// A gray source's samples come out unquantised, as TGrayDither quantises them the way the
// library does for the full decode.
void SetDecompressionParameters(jpeg_decompress_struct& info, bool gray)
{
    SetSharedDecodeParameters(info);
    info.quantize_colors = FALSE;
    if (!gray)
        info.out_color_space = JCS_EXT_BGR;
}

// The sampling layouts whose region decode has been shown to give the full decode's pixels:
// gray, and colour whose Cb and Cr have one sample per MCU under a luma of 4:4:4, 4:2:2,
// 4:4:0, 4:2:0 or 4:1:1. Other layouts are legal but rare, and take the full path.
bool IsProvenLayout(const jpeg_decompress_struct& info)
{
    if (info.num_components == 1)
        return true;
    const jpeg_component_info* components = info.comp_info;
    for (int i = 1; i < 3; ++i)
        if (components[i].h_samp_factor != 1 || components[i].v_samp_factor != 1)
            return false;
    const int h = components[0].h_samp_factor;
    const int v = components[0].v_samp_factor;
    return (h <= 2 && v <= 2) || (h == 4 && v == 1);
}

// Columns decoded on each side of the rectangle's. Fancy upsampling reads one neighbour pixel
// and treats the decoded columns' edges as the picture's; block smoothing reads the DC values
// of two blocks on each side and takes the first decoded block's own for those on its left;
// and the upsampler only interpolates when a component has more than two samples in the
// decoded width. Two blocks of the widest component and one pixel cover all three.
std::int64_t ColumnMargin(const jpeg_decompress_struct& info)
{
    return 2 * DCTSIZE * info.max_h_samp_factor + 1;
}

struct THeaderStep {
    j_decompress_ptr info;
    TJpegFileSource* source;
};

void ReadHeader(void* context)
{
    auto* step = static_cast<THeaderStep*>(context);
    step->source->AttachTo(*step->info);
    jpeg_read_header(step->info, TRUE);
}

void StartDecompress(void* context) { jpeg_start_decompress(static_cast<j_decompress_ptr>(context)); }

// What a row loop needs; everything it points to lives in the caller.
struct TRowsStep {
    j_decompress_ptr info;
    TRegionRect rect;
    TRegionSpan rows;
    TRegionSpan columns;  // the rectangle's columns inside the picture
    std::uint8_t* row;    // room for one decoded row
    TBitmap* crop;
    TGrayDither* dither;  // for a gray source
};

std::uint8_t* CropPixel(TRowsStep& step, std::int64_t pictureRow, std::int64_t pictureColumn)
{
    return step.crop->ScanLine(static_cast<std::int32_t>(pictureRow - step.rect.y)) +
           (pictureColumn - step.rect.x) * 3;
}

// Only a suspending source gives no row, and this one never suspends; should it happen, the
// loop ends as it does at the bottom of the picture.
bool ReadOneRow(j_decompress_ptr info, std::uint8_t* row)
{
    JSAMPROW rows[] = {row};
    return jpeg_read_scanlines(info, rows, 1) == 1;
}

// Decodes only the rectangle's columns (widened by the margin) and rows, skipping the rows
// above it; the library moves the first decoded column back to an iMCU boundary.
void ReadColorRows(void* context)
{
    auto& step = *static_cast<TRowsStep*>(context);
    j_decompress_ptr info = step.info;
    const TRegionSpan decoded = WidenedSpan(step.columns, ColumnMargin(*info), info->image_width);
    JDIMENSION first = static_cast<JDIMENSION>(decoded.first);
    JDIMENSION width = static_cast<JDIMENSION>(decoded.Size());
    jpeg_crop_scanline(info, &first, &width);
    jpeg_skip_scanlines(info, static_cast<JDIMENSION>(step.rows.first));
    const std::size_t count = static_cast<std::size_t>(step.columns.Size()) * 3;
    const std::size_t offset = static_cast<std::size_t>(step.columns.first - first) * 3;
    while (info->output_scanline < step.rows.end) {
        const std::int64_t pictureRow = info->output_scanline;
        if (!ReadOneRow(info, step.row))
            return;
        std::memcpy(CropPixel(step, pictureRow, step.columns.first), step.row + offset, count);
    }
}

// The dither of a gray source carries its error along every row and down to the next, so
// every row above the rectangle is decoded and dithered at full width; only the copying
// starts late.
void ReadGrayRows(void* context)
{
    auto& step = *static_cast<TRowsStep*>(context);
    j_decompress_ptr info = step.info;
    while (info->output_scanline < step.rows.end) {
        const std::int64_t pictureRow = info->output_scanline;
        if (!ReadOneRow(info, step.row))
            return;
        step.dither->QuantizeRow(step.row);
        if (pictureRow < step.rows.first)
            continue;
        std::uint8_t* out = CropPixel(step, pictureRow, step.columns.first);
        for (std::int64_t column = step.columns.first; column < step.columns.end; ++column, out += 3)
            out[0] = out[1] = out[2] = step.row[column];
    }
}

// A failed read shows to the library as data that ends there, which can make it fail; the
// read failure came first, and is what the full path reports.
void RunReading(TJpegDecompressor& decompressor, const TJpegFileSource& source, TJpegStep step,
                void* context)
{
    try {
        decompressor.Run(step, context);
    } catch (const EJpegError&) {  // replaced by the read failure that caused it, if any
        if (source.ReadFailed())
            throw EReadError(Messages::StreamReadError());
        throw;
    }
    if (source.ReadFailed())
        throw EReadError(Messages::StreamReadError());
}

// The crop, or nothing when the file's layout needs the full path.
std::optional<TBitmap> DecodeRegion(const std::string& path, const TRegionRect& rect)
{
    TJpegFileSource source(path);
    TJpegDecompressor decompressor;
    jpeg_decompress_struct& info = *decompressor.get();
    THeaderStep header{&info, &source};
    RunReading(decompressor, source, ReadHeader, &header);
    RefuseUnsupportedSource(info, path);
    if (!IsProvenLayout(info))
        return std::nullopt;
    const bool gray = IsGray(info);
    SetDecompressionParameters(info, gray);
    RunReading(decompressor, source, StartDecompress, &info);

    TBitmap crop;
    crop.SetSize(rect.width, rect.height, TPixelFormat::pf24bit);
    TRowsStep rows{&info, rect, CoveredSpan(rect.y, rect.height, info.output_height),
                   CoveredSpan(rect.x, rect.width, info.output_width), nullptr, &crop, nullptr};
    if (rows.rows.Empty() || rows.columns.Empty())
        return crop;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(info.output_width) *
                                  static_cast<std::size_t>(info.output_components));
    rows.row = row.data();
    TGrayDither dither(gray ? info.output_width : 0);
    rows.dither = &dither;
    RunReading(decompressor, source, gray ? ReadGrayRows : ReadColorRows, &rows);
    return crop;
}

}  // namespace

TBitmap LoadAndCutCrop(const std::string& path, const TCropTexts& texts, bool paletteMode)
{
    KeepFreedMemoryForReuse();
    const std::optional<TRegionRect> rect = RegionRectOf(texts);
    // Palette mode quantises over the whole picture in two passes; texts that give no crop
    // fail only after the whole file has been decoded. Both need the full path.
    if (paletteMode || !rect)
        return CutCropPicture(LoadSourcePicture(path, paletteMode), texts);
    std::optional<TBitmap> crop = DecodeRegion(path, *rect);
    if (!crop)
        return CutCropPicture(LoadSourcePicture(path, paletteMode), texts);
    return std::move(*crop);
}
