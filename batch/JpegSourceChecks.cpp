#include "JpegSourceChecks.h"

#include "CropLimits.h"
#include "Errors.h"
#include "Messages.h"

bool IsGray(const jpeg_decompress_struct& info)
{
    return info.num_components == 1 && info.out_color_space == JCS_GRAYSCALE;
}

bool IsThreeComponentColor(const jpeg_decompress_struct& info)
{
    return info.num_components == 3 && info.out_color_space == JCS_RGB;
}

void SetSharedDecodeParameters(jpeg_decompress_struct& info)
{
    info.scale_num = 1;
    info.scale_denom = 1;
    info.dct_method = JDCT_FLOAT;
    info.do_block_smoothing = TRUE;
    info.do_fancy_upsampling = TRUE;
    info.buffered_image = FALSE;
}

void RefuseUnsupportedSource(const jpeg_decompress_struct& info, const std::string& path)
{
    if (!IsGray(info) && !IsThreeComponentColor(info))
        throw EUnsupportedColor(Messages::UnsupportedColorModel(path));
    // A header may claim up to 65500 by 65500 pixels in a few bytes.
    if (!PictureSizeFits(info.image_width, info.image_height))
        throw EOutOfResources(Messages::PictureTooLarge(path, static_cast<std::int64_t>(info.image_width),
                                                        static_cast<std::int64_t>(info.image_height)));
}
