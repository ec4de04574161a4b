// Decoding a source file into a picture of its full size.
#include "PictureCrop.h"

#include "Files.h"
#include "JpegObjects.h"
#include "JpegSourceChecks.h"

namespace {

constexpr int kPaletteColors = 236;

struct THeaderStep {
    j_decompress_ptr info;
    const std::vector<std::uint8_t>* data;
};

void ReadHeader(void* context)
{
    auto* step = static_cast<THeaderStep*>(context);
    jpeg_mem_src(step->info, step->data->data(), static_cast<unsigned long>(step->data->size()));
    jpeg_read_header(step->info, TRUE);
}

void StartDecompress(void* context) { jpeg_start_decompress(static_cast<j_decompress_ptr>(context)); }

struct TRowsStep {
    j_decompress_ptr info;
    TBitmap* picture;
};

void ReadRows(void* context)
{
    auto* step = static_cast<TRowsStep*>(context);
    j_decompress_ptr info = step->info;
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = step->picture->ScanLine(static_cast<std::int32_t>(info->output_scanline));
        if (jpeg_read_scanlines(info, &row, 1) == 0)
            break;  // only a suspending source gives no row, and memory never suspends
    }
}

void FinishDecompress(void* context) { jpeg_finish_decompress(static_cast<j_decompress_ptr>(context)); }

bool QuantizeFor(const jpeg_decompress_struct& info, bool paletteMode)
{
    return paletteMode || IsGray(info);
}

void SetDecompressionParameters(jpeg_decompress_struct& info, bool paletteMode)
{
    SetSharedDecodeParameters(info);
    if (QuantizeFor(info, paletteMode)) {
        // Pixels become indices; the colour map keeps the library's red, green, blue order.
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = kPaletteColors;
        info.two_pass_quantize = TRUE;
        info.dither_mode = JDITHER_FS;
    } else {
        info.quantize_colors = FALSE;
        info.out_color_space = JCS_EXT_BGR;  // the order in which the picture stores samples
    }
}

void CopyColorMap(const jpeg_decompress_struct& info, TBitmap& picture)
{
    if (!info.quantize_colors || info.colormap == nullptr)
        return;
    const bool gray = info.out_color_components == 1;
    std::vector<TPaletteEntry>& palette = picture.Palette();
    palette.resize(static_cast<std::size_t>(info.actual_number_of_colors));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i].red = info.colormap[0][i];
        palette[i].green = info.colormap[gray ? 0 : 1][i];
        palette[i].blue = info.colormap[gray ? 0 : 2][i];
    }
}

}  // namespace

TBitmap DecodeSourcePicture(const std::vector<std::uint8_t>& data, const std::string& path,
                            bool paletteMode)
{
    TJpegDecompressor decompressor;
    jpeg_decompress_struct& info = *decompressor.get();
    THeaderStep header{&info, &data};
    decompressor.Run(ReadHeader, &header);
    RefuseUnsupportedSource(info, path);
    SetDecompressionParameters(info, paletteMode);

    decompressor.Run(StartDecompress, &info);
    TBitmap picture;
    picture.SetSize(static_cast<std::int32_t>(info.output_width),
                    static_cast<std::int32_t>(info.output_height),
                    info.quantize_colors ? TPixelFormat::pf8bit : TPixelFormat::pf24bit);
    CopyColorMap(info, picture);
    TRowsStep rows{&info, &picture};
    decompressor.Run(ReadRows, &rows);
    decompressor.Run(FinishDecompress, &info);
    return picture;
}

TBitmap LoadSourcePicture(const std::string& path, bool paletteMode)
{
    return DecodeSourcePicture(ReadWholeFile(path), path, paletteMode);
}
