// Encoding a crop picture and saving it over whatever was there.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "PictureCrop.h"
#include "PictureTestSupport.h"
#include "TestFiles.h"
#include "TestJpeg.h"

namespace {

using namespace TestJpeg;
using PictureTest::FailureOf;
using PictureTest::Near;

// A colour picture of pseudo-random bytes, the same for the same seed.
TBitmap Noise(int width, int height, std::uint32_t seed)
{
    TBitmap picture;
    picture.SetSize(width, height, TPixelFormat::pf24bit);
    std::uint32_t state = seed;
    for (int row = 0; row < picture.Height(); ++row)
        for (std::size_t i = 0; i < picture.RowBytes(); ++i) {
            state = state * 1103515245u + 12345u;
            picture.ScanLine(row)[i] = static_cast<std::uint8_t>(state >> 24);
        }
    return picture;
}

// A picture of two hand-picked colours: the left half red, the right half blue.
TBitmap RedAndBlue(TPixelFormat format)
{
    TBitmap picture;
    picture.SetSize(32, 16, format);
    if (format == TPixelFormat::pf8bit)
        picture.Palette() = {{250, 10, 10}, {10, 10, 250}};
    for (int row = 0; row < 16; ++row)
        for (int column = 0; column < 32; ++column) {
            const bool left = column < 16;
            if (format == TPixelFormat::pf8bit) {
                picture.ScanLine(row)[column] = left ? 0 : 1;
                continue;
            }
            std::uint8_t* bgr = picture.ScanLine(row) + column * 3;
            bgr[0] = left ? 10 : 250;
            bgr[1] = 10;
            bgr[2] = left ? 250 : 10;
        }
    return picture;
}

TEST(EncodeCropPicture, KeepsEveryColourFromPictureToFile)
{
    for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf8bit}) {
        SCOPED_TRACE(format == TPixelFormat::pf24bit ? "24-bit" : "8-bit with palette");
        const std::vector<std::uint8_t> bytes = EncodeCropPicture(RedAndBlue(format));
        PictureTest::ExpectCropFile(bytes, 32, 16);
        const TDecoded decoded = DecodeJpeg(bytes);
        const TRgb red = decoded.At(8, 8);
        const TRgb blue = decoded.At(24, 8);
        EXPECT_TRUE(Near(red.red, 250, 8) && Near(red.green, 10, 8) && Near(red.blue, 10, 8))
            << red.red << " " << red.green << " " << red.blue;
        EXPECT_TRUE(Near(blue.red, 10, 8) && Near(blue.green, 10, 8) && Near(blue.blue, 250, 8))
            << blue.red << " " << blue.green << " " << blue.blue;
    }
}

TEST(EncodeCropPicture, WritesWhatTheLibraryWritesForItsParameters)
{
    TFixture rippled = Color(200, 120);
    rippled.ripple = 20;
    const TBitmap source = DecodeSourcePicture(MakeJpeg(rippled), "a.jpg", false);
    const struct {
        const char* name;
        TCropTexts crop;
    } cases[] = {
        {"inside", {"3", "5", "150", "101"}},
        {"one row", {"0", "7", "77", "1"}},
        {"one column reaching past the edge", {"199", "-3", "1", "130"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TBitmap crop = CutCropPicture(source, c.crop);
        std::vector<std::uint8_t> rows;
        for (int row = 0; row < crop.Height(); ++row)
            rows.insert(rows.end(), crop.ScanLine(row), crop.ScanLine(row) + crop.RowBytes());
        EXPECT_EQ(EncodeCropPicture(crop), ExpectedCropFile(rows, crop.Width(), crop.Height()));
    }
}

TEST(EncodeCropPicture, GrowsItsOutputForLargePictures)
{
    // Noise compresses badly, so the encoded data passes the first output buffer many times.
    const TBitmap picture = Noise(1000, 700, 12345);
    const std::vector<std::uint8_t> bytes = EncodeCropPicture(picture);
    EXPECT_GT(bytes.size(), 256u * 1024);
    PictureTest::ExpectCropFile(bytes, 1000, 700);
    EXPECT_EQ(DecodeJpeg(bytes).height, 700);
}

TEST(EncodeCropPicture, RunningOutOfMemorySaysSo)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit leaves";
#endif
    // Noise of 3000 by 3000 pixels encodes to far more than the 4 MB the child may take.
    const TBitmap picture = Noise(3000, 3000, 99);
    EXPECT_EQ(PictureTest::FailureWithLittleMemory([&] { EncodeCropPicture(picture); }, 4u << 20),
              "メモリが足りません");
}

TEST(EncodeCropPicture, RefusesAnEmptyPicture)
{
    const TBitmap empty;
    EXPECT_EQ(FailureOf([&] { EncodeCropPicture(empty); }), "切り抜きサイズ 0 × 0 の画像は作成できません");
}

TEST(SaveCropPicture, ReplacesAnExistingFile)
{
    TTempDir dir;
    const std::string output = dir / "a_x.jpg";
    WriteText(output, "an earlier crop, longer than anything a small crop will take up on disk");
    SaveCropPicture(RedAndBlue(TPixelFormat::pf24bit), output);
    PictureTest::ExpectCropFile(ReadBytes(output), 32, 16);
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"a_x.jpg"}));
}

TEST(SaveCropPicture, AFailureLeavesWhatWasThere)
{
    TTempDir dir;
    const std::string kept = dir / "kept.jpg";
    const std::string readOnly = dir / "read-only.jpg";
    const std::vector<std::uint8_t> before = {0xFF, 0xD8, 'o', 'l', 'd', 0xFF, 0xD9};
    WriteBytes(kept, before);
    WriteBytes(readOnly, before);
    chmod(readOnly.c_str(), 0444);
    const std::string inMissingFolder = dir / "missing/a_x.jpg";
    const struct {
        const char* name;
        std::string output;
        TBitmap picture;
        std::string message;
    } cases[] = {
        {"empty picture over a file", kept, TBitmap(), "切り抜きサイズ 0 × 0 の画像は作成できません"},
        {"read-only file", readOnly, RedAndBlue(TPixelFormat::pf24bit),
         "ファイル " + readOnly + " を作成できません"},
        {"missing folder", inMissingFolder, RedAndBlue(TPixelFormat::pf24bit),
         "ファイル " + inMissingFolder + " を作成できません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FailureOf([&] { SaveCropPicture(c.picture, c.output); }), c.message);
        EXPECT_EQ(ReadBytes(kept), before);
        EXPECT_EQ(ReadBytes(readOnly), before);
        EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"kept.jpg", "read-only.jpg"}));
    }
}

}  // namespace
