// Which part of a picture a crop rectangle covers, and which part a decoder must produce so
// that the covered pixels come out as a decode of the whole picture gives them.
#pragma once

#include <cstdint>
#include <optional>

#include "PictureCrop.h"

struct TRegionRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The half-open range [first, end) of picture columns or rows; 64-bit, as a start plus a size
// may pass the 32-bit range.
struct TRegionSpan {
    std::int64_t first = 0;
    std::int64_t end = 0;
    bool Empty() const { return first >= end; }
    std::int64_t Size() const { return Empty() ? 0 : end - first; }
};

// The rectangle the texts give, or nothing when they give no crop that can be made: a text
// that is no integer text, a width or height below 1, or a crop too large. CutCropPicture
// reports those, after the whole file has been decoded.
std::optional<TRegionRect> RegionRectOf(const TCropTexts& texts);

// The picture positions that a run of size positions from start covers; empty when the run
// misses the picture.
TRegionSpan CoveredSpan(std::int32_t start, std::int32_t size, std::int64_t pictureSize);

// The span grown by margin on both sides, within the picture.
TRegionSpan WidenedSpan(TRegionSpan span, std::int64_t margin, std::int64_t pictureSize);
