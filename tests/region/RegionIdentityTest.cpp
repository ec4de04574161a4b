// The region decoder against the full decode: for every kind of file and many rectangles the
// crop picture, and so the encoded output, must be the same to the byte.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "JpegRegion.h"
#include "PhotoJpeg.h"
#include "PictureCrop.h"
#include "TestFiles.h"

namespace {

using PhotoJpeg::TModel;
using PhotoJpeg::TPhoto;

struct TFileCase {
    const char* name;
    TPhoto photo;
    double keptFraction;  // 1 for the whole file; less for a file cut short
};

TPhoto Photo(int width, int height, TModel model, int lumaH, int lumaV, bool progressive,
             int restartRows = 0)
{
    return {width, height, model, lumaH, lumaV, progressive, restartRows};
}

TPhoto OneScanPerComponent(int width, int height)
{
    TPhoto photo = Photo(width, height, TModel::color, 2, 2, false);
    photo.separateScans = true;
    return photo;
}

// A gray wall whose samples sit on and around 121, which lies between two of the 236 levels:
// nearly every pixel has an error to spread, so the dither's every weight shows.
TPhoto FlatGrayWall(int width, int height)
{
    TPhoto photo = Photo(width, height, TModel::gray, 1, 1, false);
    photo.base = 121;
    photo.contrast = 0.04;
    return photo;
}

// Wide enough that a rectangle's decoded columns can start several iMCUs in, and sizes that
// are no multiples of 16 so partial iMCUs sit at the right and bottom edges.
const TFileCase kFiles[] = {
    {"baseline 4:2:0", Photo(263, 77, TModel::color, 2, 2, false), 1},
    {"baseline 4:2:0, whole iMCUs", Photo(256, 64, TModel::color, 2, 2, false), 1},
    {"baseline 4:2:2", Photo(241, 53, TModel::color, 2, 1, false), 1},
    {"baseline 4:4:0", Photo(205, 69, TModel::color, 1, 2, false), 1},
    {"baseline 4:4:4", Photo(229, 45, TModel::color, 1, 1, false), 1},
    {"baseline 4:1:1", Photo(250, 41, TModel::color, 4, 1, false), 1},
    {"restart markers every MCU row", Photo(251, 71, TModel::color, 2, 2, false, 1), 1},
    {"progressive 4:2:0", Photo(259, 75, TModel::color, 2, 2, true), 1},
    {"progressive 4:4:4", Photo(213, 50, TModel::color, 1, 1, true), 1},
    {"progressive 4:2:2", Photo(231, 47, TModel::color, 2, 1, true), 1},
    {"progressive 4:4:0", Photo(201, 66, TModel::color, 1, 2, true), 1},
    {"progressive 4:1:1", Photo(260, 35, TModel::color, 4, 1, true), 1},
    {"sequential, one scan per component", OneScanPerComponent(247, 59), 1},
    {"luma 3 by 2, which takes the full path", Photo(222, 51, TModel::color, 3, 2, false), 1},
    // Cut in its later scans, block smoothing fills in the missing coefficients.
    {"progressive 4:2:0 cut short", Photo(259, 75, TModel::color, 2, 2, true), 0.45},
    {"progressive 4:4:4 cut short", Photo(213, 50, TModel::color, 1, 1, true), 0.3},
    {"progressive 4:2:2 cut short", Photo(231, 47, TModel::color, 2, 1, true), 0.5},
    {"progressive 4:1:1 cut short", Photo(260, 35, TModel::color, 4, 1, true), 0.4},
    {"baseline cut short", Photo(263, 77, TModel::color, 2, 2, false), 0.6},
    {"gray", Photo(219, 67, TModel::gray, 1, 1, false), 1},
    {"gray progressive", Photo(197, 58, TModel::gray, 1, 1, true), 1},
    {"gray wall between two levels", FlatGrayWall(203, 61), 1},
    {"one pixel high", Photo(230, 1, TModel::color, 2, 2, false), 1},
    {"one pixel wide", Photo(1, 40, TModel::color, 2, 2, false), 1},
};

struct TRect {
    int x;
    int y;
    int width;
    int height;
};

std::string Describe(const TRect& rect)
{
    return std::to_string(rect.x) + "," + std::to_string(rect.y) + " " + std::to_string(rect.width) +
           "x" + std::to_string(rect.height);
}

// The rectangles that sit on the edges, corners and iMCU boundaries of a picture.
std::vector<TRect> EdgeRects(int width, int height)
{
    return {
        {0, 0, 1, 1},                        // the first pixel
        {width - 1, height - 1, 1, 1},       // the last pixel
        {0, 0, width, height},               // the whole picture
        {-3, -4, width + 9, height + 8},     // more than the whole picture
        {width - 10, 2, 40, 5},              // past the right edge
        {3, height - 6, 20, 30},             // past the bottom edge
        {width - 7, height - 5, 30, 30},     // past the bottom-right corner
        {-5, -7, 25, 20},                    // negative starts
        {-50, 10, 60, 9},                    // far to the left, reaching in
        {width, 0, 10, 10},                  // just right of the picture
        {0, height, 10, 10},                 // just below it
        {-40, -40, 12, 12},                  // above and left of it
        {0, height / 2, width, 1},           // one row
        {width / 2, 0, 1, height},           // one column
        {width - 1, 0, 1, height},           // the last column
        {16, 16, 16, 16},                    // on iMCU boundaries
        {15, 15, 18, 18},                    // one pixel either side of them
        {17, 17, 14, 14},                    // just inside them
        {32, 8, 1, 1},                       // one pixel at a boundary
        {33, 9, 1, 1},                       // and next to it
        {96, 3, 40, 31},                     // deep inside
        {width - 40, 16, 40, 8},             // up to the right edge
    };
}

// Rectangles anywhere in and around the picture, the same ones in every run.
std::vector<TRect> RandomRects(int width, int height, unsigned seed, int count)
{
    std::mt19937 random(seed);
    auto between = [&](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
    std::vector<TRect> rects;
    for (int i = 0; i < count; ++i)
        rects.push_back({between(-20, width + 4), between(-20, height + 4), between(1, width / 2 + 20),
                         between(1, height / 2 + 20)});
    return rects;
}

TCropTexts TextsFor(const TRect& rect)
{
    return {std::to_string(rect.x), std::to_string(rect.y), std::to_string(rect.width),
            std::to_string(rect.height)};
}

// Where two crops first differ, or the empty text when they are the same.
std::string FirstDifference(const TBitmap& expected, const TBitmap& actual)
{
    if (expected.Width() != actual.Width() || expected.Height() != actual.Height())
        return "size differs";
    for (int row = 0; row < expected.Height(); ++row)
        for (int column = 0; column < expected.Width(); ++column)
            for (int sample = 0; sample < 3; ++sample)
                if (expected.ScanLine(row)[column * 3 + sample] != actual.ScanLine(row)[column * 3 + sample])
                    return "crop pixel " + std::to_string(column) + "," + std::to_string(row) + " differs";
    return "";
}

std::vector<std::uint8_t> FileBytes(const TFileCase& file)
{
    std::vector<std::uint8_t> bytes = PhotoJpeg::MakePhotoJpeg(file.photo);
    if (file.keptFraction < 1)
        bytes.resize(static_cast<std::size_t>(bytes.size() * file.keptFraction));
    return bytes;
}

void ExpectSameCrops(const std::string& path, const TBitmap& source, const std::vector<TRect>& rects)
{
    for (const TRect& rect : rects) {
        SCOPED_TRACE(Describe(rect));
        const TBitmap expected = CutCropPicture(source, TextsFor(rect));
        const TBitmap actual = LoadAndCutCrop(path, TextsFor(rect), false);
        const std::string difference = FirstDifference(expected, actual);
        EXPECT_EQ(difference, "");
        if (difference.empty()) {
            EXPECT_EQ(EncodeCropPicture(expected), EncodeCropPicture(actual));
        }
    }
}

TEST(RegionIdentity, EveryKindOfFileGivesTheFullDecodesCrops)
{
    TTempDir dir;
    unsigned seed = 1;
    for (const TFileCase& file : kFiles) {
        SCOPED_TRACE(file.name);
        const std::string path = dir / "photo.jpg";
        const std::vector<std::uint8_t> bytes = FileBytes(file);
        WriteBytes(path, bytes);
        const TBitmap source = DecodeSourcePicture(bytes, path, false);
        ASSERT_EQ(source.Width(), file.photo.width);
        ExpectSameCrops(path, source, EdgeRects(file.photo.width, file.photo.height));
        ExpectSameCrops(path, source, RandomRects(file.photo.width, file.photo.height, seed++, 120));
    }
}

TEST(RegionIdentity, PaletteModeGivesTheFullDecodesCrops)
{
    TTempDir dir;
    const std::string path = dir / "photo.jpg";
    const std::vector<std::uint8_t> bytes = FileBytes(kFiles[0]);
    WriteBytes(path, bytes);
    const TBitmap source = DecodeSourcePicture(bytes, path, true);
    for (const TRect& rect : RandomRects(kFiles[0].photo.width, kFiles[0].photo.height, 99, 12)) {
        SCOPED_TRACE(Describe(rect));
        const TBitmap expected = CutCropPicture(source, TextsFor(rect));
        EXPECT_EQ(FirstDifference(expected, LoadAndCutCrop(path, TextsFor(rect), true)), "");
    }
}

// The crop values come in as texts; every integer form must land on the same rectangle.
TEST(RegionIdentity, HexadecimalAndSignedTextsGiveTheSameCrop)
{
    TTempDir dir;
    const std::string path = dir / "photo.jpg";
    WriteBytes(path, FileBytes(kFiles[0]));
    const TBitmap decimal = LoadAndCutCrop(path, {"40", "-3", "32", "20"}, false);
    const TBitmap written = LoadAndCutCrop(path, {"  $28", "-3", "0x20", "+20"}, false);
    EXPECT_EQ(FirstDifference(decimal, written), "");
    EXPECT_EQ(written.Width(), 32);
    EXPECT_EQ(written.Height(), 20);
}

}  // namespace
