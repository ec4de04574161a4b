#include "JpegRegionPlan.h"

#include <algorithm>

#include "CropLimits.h"
#include "IntegerText.h"

std::optional<TRegionRect> RegionRectOf(const TCropTexts& texts)
{
    const std::optional<std::int32_t> x = ParseIntegerText(texts.x);
    const std::optional<std::int32_t> y = ParseIntegerText(texts.y);
    const std::optional<std::int32_t> width = ParseIntegerText(texts.width);
    const std::optional<std::int32_t> height = ParseIntegerText(texts.height);
    if (!x || !y || !width || !height)
        return std::nullopt;
    if (*width < 1 || *height < 1 || !PictureSizeFits(*width, *height))
        return std::nullopt;
    return TRegionRect{*x, *y, *width, *height};
}

TRegionSpan CoveredSpan(std::int32_t start, std::int32_t size, std::int64_t pictureSize)
{
    const std::int64_t first = std::max<std::int64_t>(start, 0);
    const std::int64_t end = std::min<std::int64_t>(static_cast<std::int64_t>(start) + size, pictureSize);
    if (first >= end)
        return {};
    return {first, end};
}

TRegionSpan WidenedSpan(TRegionSpan span, std::int64_t margin, std::int64_t pictureSize)
{
    if (span.Empty())
        return span;
    return {std::max<std::int64_t>(span.first - margin, 0),
            std::min<std::int64_t>(span.end + margin, pictureSize)};
}
