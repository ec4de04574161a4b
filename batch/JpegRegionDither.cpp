#include "JpegRegionDither.h"

#include <array>

namespace {

constexpr int kLevels = 236;
constexpr int kMaxSample = 255;

// A sample plus its correction may lie anywhere in [-256, 512); outside [0, 255] it counts
// as the nearest end, as the library's range limit makes it.
constexpr int kLowest = -256;
constexpr int kTableSize = 768;

struct TQuantizer {
    std::array<std::uint8_t, kTableSize> level{};  // the gray level for a corrected sample
    std::array<int, kTableSize> error{};          // the corrected sample minus that level
    std::array<int, kTableSize> errorAhead{};     // seven times that: what the next pixel gets
};

// Level j is j * 255 / 235, rounded; a sample goes to the level it is nearest to, the
// breakpoints lying halfway between neighbouring levels and rounding down.
int LevelValue(int j) { return (j * kMaxSample + (kLevels - 1) / 2) / (kLevels - 1); }

int LargestSampleOfLevel(int j)
{
    return ((2 * j + 1) * kMaxSample + (kLevels - 1)) / (2 * (kLevels - 1));
}

TQuantizer MakeQuantizer()
{
    std::array<std::uint8_t, kMaxSample + 1> levelOf{};
    int j = 0;
    for (int sample = 0; sample <= kMaxSample; ++sample) {
        while (sample > LargestSampleOfLevel(j))
            ++j;
        levelOf[sample] = static_cast<std::uint8_t>(LevelValue(j));
    }
    TQuantizer quantizer;
    for (int i = 0; i < kTableSize; ++i) {
        const int value = i + kLowest;
        const int sample = value < 0 ? 0 : value > kMaxSample ? kMaxSample : value;
        quantizer.level[i] = levelOf[sample];
        quantizer.error[i] = sample - levelOf[sample];
        quantizer.errorAhead[i] = 7 * quantizer.error[i];
    }
    return quantizer;
}

const TQuantizer& Quantizer()
{
    static const TQuantizer quantizer = MakeQuantizer();
    return quantizer;
}

}  // namespace

TGrayDither::TGrayDither(std::size_t width) : errors(width + 2, 0) {}

// The error of each pixel goes 7/16 to the next pixel of the row, and 3/16, 5/16 and 1/16 to
// the pixels of the next row behind it, under it and ahead of it; the sums are kept scaled by
// 16 and rounded down, after adding 8, when they are used. Adding the sample times 16 before
// rounding gives the same corrected sample and keeps all but one addition out of the chain
// from one pixel to the next, which is what bounds the speed.
void TGrayDither::QuantizeRow(std::uint8_t* row)
{
    const TQuantizer& quantizer = Quantizer();
    const std::ptrdiff_t width = static_cast<std::ptrdiff_t>(errors.size()) - 2;
    const std::ptrdiff_t step = rightToLeft ? -1 : 1;
    std::uint8_t* sample = rightToLeft ? row + width - 1 : row;
    int* below = rightToLeft ? errors.data() + width + 1 : errors.data();  // before the pixel
    // Word-sized, so that the index needs no widening on its way to the table.
    std::ptrdiff_t ahead = 0;  // carried to the next pixel of this row, times 16
    int belowHere = 0;         // for the row below, under the current pixel
    int belowBehind = 0;       // for the row below, under the previous pixel
    for (std::ptrdiff_t n = width; n > 0; --n) {
        const std::ptrdiff_t fromAbove = below[step] + 8 + (*sample << 4);
        const std::ptrdiff_t index = ((ahead + fromAbove) >> 4) - kLowest;
        *sample = quantizer.level[index];
        ahead = quantizer.errorAhead[index];
        const int error = quantizer.error[index];
        below[0] = belowBehind + 3 * error;
        belowBehind = belowHere + 5 * error;
        belowHere = error;
        sample += step;
        below += step;
    }
    below[0] = belowBehind;
    rightToLeft = !rightToLeft;
}
