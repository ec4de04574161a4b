// The largest pictures velmora makes: enough for every camera and most panoramas, small enough
// that one source, its crop and the library's buffers fit in memory together.
#pragma once

#include <cstdint>

// A JPEG frame cannot be wider or higher than this.
constexpr std::int64_t kMaxPictureSide = 65500;

// 200 million pixels: 600 MB as a 24-bit picture.
constexpr std::int64_t kMaxPicturePixels = 200'000'000;

inline bool PictureSizeFits(std::int64_t width, std::int64_t height)
{
    return width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}
