// Encoding a crop picture as a baseline JFIF file of quality 90, and saving it.
#include "PictureCrop.h"

#include "Errors.h"
#include "Files.h"
#include "JpegObjects.h"
#include "Messages.h"

namespace {

constexpr int kJpegQuality = 90;

struct TParametersStep {
    j_compress_ptr info;
    const TBitmap* picture;
};

void SetCompressionParameters(void* context)
{
    auto* step = static_cast<TParametersStep*>(context);
    j_compress_ptr info = step->info;
    info->image_width = static_cast<JDIMENSION>(step->picture->Width());
    info->image_height = static_cast<JDIMENSION>(step->picture->Height());
    info->input_components = 3;
    info->in_color_space = JCS_EXT_BGR;  // the order in which the picture stores samples
    jpeg_set_defaults(info);
    info->dct_method = JDCT_FLOAT;
    jpeg_set_quality(info, kJpegQuality, TRUE);
}

struct TCompressStep {
    j_compress_ptr info;
    const TBitmap* picture;
    std::uint8_t* rowBuffer;  // room for one 24-bit row when the picture has a palette
};

// The row of the picture as blue, green, red samples.
JSAMPROW BgrRow(const TCompressStep& step, std::int32_t row)
{
    const TBitmap& picture = *step.picture;
    // The library only reads the rows it is given.
    auto* source = const_cast<std::uint8_t*>(picture.ScanLine(row));
    if (picture.PixelFormat() == TPixelFormat::pf24bit)
        return source;
    const std::vector<TPaletteEntry>& palette = picture.Palette();
    std::uint8_t* out = step.rowBuffer;
    for (std::int32_t column = 0; column < picture.Width(); ++column, out += 3) {
        const std::size_t index = source[column];
        const TPaletteEntry color = index < palette.size() ? palette[index] : TPaletteEntry{};
        out[0] = color.blue;
        out[1] = color.green;
        out[2] = color.red;
    }
    return step.rowBuffer;
}

void Compress(void* context)
{
    auto* step = static_cast<TCompressStep*>(context);
    j_compress_ptr info = step->info;
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = BgrRow(*step, static_cast<std::int32_t>(info->next_scanline));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
}

}  // namespace

std::vector<std::uint8_t> EncodeCropPicture(const TBitmap& crop)
{
    // An empty file under the output name would only destroy what was there.
    if (crop.Empty())
        throw EInvalidCropSize(Messages::InvalidCropSize(crop.Width(), crop.Height()));
    std::vector<std::uint8_t> rowBuffer;
    if (crop.PixelFormat() != TPixelFormat::pf24bit)
        rowBuffer.resize(static_cast<std::size_t>(crop.Width()) * 3);

    TJpegCompressor compressor;
    TParametersStep parameters{compressor.get(), &crop};
    compressor.Run(SetCompressionParameters, &parameters);
    TCompressStep compress{compressor.get(), &crop, rowBuffer.data()};
    compressor.Run(Compress, &compress);
    return compressor.TakeBytes();
}

void SaveCropPicture(const TBitmap& crop, const std::string& outputName)
{
    ReplaceFileContents(outputName, EncodeCropPicture(crop));
}
