// Decoding a source: its pixel format and colours, the library's failures and their numbers,
// and files built to exhaust memory or time.
#include <gtest/gtest.h>


#include <random>

#include "JpegErrors.h"
#include "PictureCrop.h"
#include "PictureTestSupport.h"
#include "TestJpeg.h"

#include <jerror.h>

namespace {

using namespace TestJpeg;
using PictureTest::FailureOf;
using PictureTest::FailureWithLittleMemory;
using PictureTest::Near;

TFixture GrayFixture(int width, int height)
{
    TFixture fixture = Color(width, height);
    fixture.kind = TKind::gray;
    return fixture;
}

TRgb PixelOf(const TBitmap& picture, int column, int row)
{
    const std::uint8_t* p = picture.ScanLine(row) + column * picture.BytesPerPixel();
    if (picture.PixelFormat() == TPixelFormat::pf24bit)
        return {p[2], p[1], p[0]};
    const TPaletteEntry& entry = picture.Palette().at(*p);
    return {entry.red, entry.green, entry.blue};
}

void ExpectPatternIn(const TBitmap& picture, bool gray, int tolerance)
{
    for (int row : PictureTest::ProbePositions(picture.Height()))
        for (int column : PictureTest::ProbePositions(picture.Width())) {
            const TRgb got = PixelOf(picture, column, row);
            const TRgb color = PatternColor(column, row);
            const int level = PatternGray(column, row);
            const TRgb want = gray ? TRgb{level, level, level} : color;
            EXPECT_TRUE(Near(got.red, want.red, tolerance) && Near(got.green, want.green, tolerance) &&
                        Near(got.blue, want.blue, tolerance))
                << "at " << column << "," << row << ": got " << got.red << " " << got.green << " "
                << got.blue << ", want " << want.red << " " << want.green << " " << want.blue;
        }
}

TEST(DecodeSourcePicture, GivesTheFormatOfTheSourceAndThePaletteMode)
{
    TFixture progressive = Color(64, 48);
    progressive.progressive = true;
    const struct {
        const char* name;
        TFixture fixture;
        bool paletteMode;
        TPixelFormat format;
        int tolerance;
    } cases[] = {
        {"colour", Color(64, 48), false, TPixelFormat::pf24bit, 4},
        {"progressive colour", progressive, false, TPixelFormat::pf24bit, 4},
        {"gray", GrayFixture(64, 48), false, TPixelFormat::pf8bit, 4},
        {"colour in palette mode", Color(64, 48), true, TPixelFormat::pf8bit, 8},
        {"gray in palette mode", GrayFixture(64, 48), true, TPixelFormat::pf8bit, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TBitmap picture = DecodeSourcePicture(MakeJpeg(c.fixture), "a.jpg", c.paletteMode);
        EXPECT_EQ(picture.Width(), 64);
        EXPECT_EQ(picture.Height(), 48);
        ASSERT_EQ(picture.PixelFormat(), c.format);
        if (c.format == TPixelFormat::pf8bit) {
            ASSERT_FALSE(picture.Palette().empty());
            EXPECT_LE(picture.Palette().size(), 236u);
            for (int row = 0; row < picture.Height(); ++row)
                for (int column = 0; column < picture.Width(); ++column)
                    ASSERT_LT(picture.ScanLine(row)[column], picture.Palette().size());
        } else {
            EXPECT_TRUE(picture.Palette().empty());
        }
        ExpectPatternIn(picture, c.fixture.kind == TKind::gray, c.tolerance);
    }
}

TEST(DecodeSourcePicture, GrayIsReducedToAtMost236GrayLevels)
{
    // A smooth ramp holds all 256 levels, more than the palette may have.
    TFixture fixture = GrayFixture(256, 16);
    fixture.grayRamp = true;
    const TBitmap picture = DecodeSourcePicture(MakeJpeg(fixture), "a.jpg", false);
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_GT(picture.Palette().size(), 200u) << "the ramp needs nearly every level there is";
    EXPECT_LE(picture.Palette().size(), 236u);
    for (const TPaletteEntry& entry : picture.Palette())
        EXPECT_TRUE(entry.red == entry.green && entry.green == entry.blue);
    // Dithering keeps the ramp's brightness on the whole.
    for (int column : {16, 128, 240}) {
        int sum = 0;
        for (int row = 0; row < 16; ++row)
            sum += PixelOf(picture, column, row).green;
        EXPECT_TRUE(Near(sum / 16, column, 8)) << "column " << column << " averages " << sum / 16;
    }
}

TEST(DecodeSourcePicture, ReadsFilesCutShortWithoutAMessage)
{
    const std::vector<std::uint8_t> whole = MakeJpeg(Color(640, 480));
    for (std::size_t kept : {std::size_t{0}, std::size_t{1}, std::size_t{500}}) {
        SCOPED_TRACE(kept);
        const TBitmap picture = DecodeSourcePicture(TruncateAfterHeader(whole, kept), "a.jpg", false);
        EXPECT_EQ(picture.Width(), 640);
        EXPECT_EQ(picture.Height(), 480);
    }
}

struct TFailureCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* message;
};

std::vector<std::uint8_t> WithPrecision(std::vector<std::uint8_t> bytes, int precision)
{
    bytes[FindMarker(bytes, kSOF0).offset + 4] = static_cast<std::uint8_t>(precision);
    return bytes;
}

TEST(DecodeSourcePicture, FatalLibraryErrorsCarryTheClassicNumbers)
{
    const std::vector<std::uint8_t> jpeg = MakeJpeg(Color(64, 48));
    const TFailureCase cases[] = {
        {"empty", {}, "JPEG エラー #41"},
        {"no start of image", {'G', 'I', 'F', '8', '9', 'a'}, "JPEG エラー #52"},
        {"start of image only", {0xFF, 0xD8}, "JPEG エラー #50"},
        {"no image before the end", {0xFF, 0xD8, 0xFF, 0xD9}, "JPEG エラー #50"},
        {"width 0", WithClaimedSize(jpeg, 0, 48), "JPEG エラー #31"},
        {"12-bit samples", WithPrecision(jpeg, 12), "JPEG エラー #14"},
    };
    for (const TFailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FailureOf([&] { DecodeSourcePicture(c.bytes, "a.jpg", false); }), c.message);
    }
}

TEST(ClassicJpegMessageCode, MapsByNameAndKeepsNewNames)
{
    const struct {
        int libraryCode;
        int classic;
    } cases[] = {
        {JMSG_NOMESSAGE, 0},     {JERR_ARITH_NOTIMPL, 1}, {JERR_BAD_DCTSIZE, 6},
        {JERR_BAD_PROGRESSION, 15}, {JERR_INPUT_EMPTY, 41}, {JERR_NO_SOI, 52},
        {JERR_OUT_OF_MEMORY, 53}, {JERR_XMS_WRITE, 71},
        {JERR_BAD_DCT_COEF, 6},  // unknown to the classic library: its own number stays
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassicJpegMessageCode(c.libraryCode), c.classic) << "library code " << c.libraryCode;
}

TEST(DecodeSourcePicture, RefusesColourModelsOtherThanGrayAndThreeComponents)
{
    TFixture cmyk = Color(64, 48);
    cmyk.kind = TKind::cmyk;
    const std::vector<std::uint8_t> cmykSamples = FixtureSamples(cmyk);
    const std::vector<std::uint8_t> twoSamples(64 * 48 * 2, 100);
    const struct {
        const char* name;
        std::vector<std::uint8_t> jpeg;
    } cases[] = {
        {"CMYK", MakeJpeg(cmyk)},
        {"YCCK", Compress(cmykSamples, 64, 48, 4, JCS_CMYK,
                          [](jpeg_compress_struct& info) { jpeg_set_colorspace(&info, JCS_YCCK); })},
        {"two components", Compress(twoSamples, 64, 48, 2, JCS_UNKNOWN, [](jpeg_compress_struct&) {})},
    };
    for (const auto& c : cases)
        for (bool paletteMode : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (paletteMode ? " in palette mode" : ""));
            EXPECT_EQ(FailureOf([&] { DecodeSourcePicture(c.jpeg, "写真/b.jpg", paletteMode); }),
                      "ファイル 写真/b.jpg の色形式には対応していません");
        }
}

TEST(DecodeSourcePicture, RefusesPicturesTooLargeToHoldBeforeDecoding)
{
    // A few hundred bytes may claim billions of pixels.
    const std::vector<std::uint8_t> jpeg = MakeJpeg(Color(64, 48));
    const struct {
        int width;
        int height;
    } cases[] = {{65500, 65500}, {65500, 3054}, {20000, 10001}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        EXPECT_EQ(FailureOf([&] { DecodeSourcePicture(WithClaimedSize(jpeg, c.width, c.height), "a.jpg", false); }),
                  "ファイル a.jpg の画像 " + std::to_string(c.width) + " × " + std::to_string(c.height) +
                      " は大きすぎて扱えません");
    }
}

TEST(DecodeSourcePicture, LargeClaimWithLittleDataDecodesToItsSize)
{
    const std::vector<std::uint8_t> jpeg = WithClaimedSize(MakeJpeg(Color(64, 48)), 4000, 3000);
    const TBitmap picture = DecodeSourcePicture(jpeg, "a.jpg", false);
    EXPECT_EQ(picture.Width(), 4000);
    EXPECT_EQ(picture.Height(), 3000);
}

TEST(DecodeSourcePicture, RunningOutOfMemorySaysSo)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit leaves";
#endif
    // 100 million pixels: the library's buffers for a progressive file, and the picture itself
    // for a baseline one, need far more than the 100 MB the child may take.
    TFixture progressive = Color(64, 48);
    progressive.progressive = true;
    const struct {
        const char* name;
        std::vector<std::uint8_t> jpeg;
    } cases[] = {
        {"the library's buffers", WithClaimedSize(MakeJpeg(progressive), 10000, 10000)},
        {"the picture", WithClaimedSize(MakeJpeg(Color(64, 48)), 10000, 10000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FailureWithLittleMemory([&] { DecodeSourcePicture(c.jpeg, "a.jpg", false); }, 100u << 20),
                  "メモリが足りません");
    }
}

TEST(DecodeSourcePicture, StopsAtAnAbsurdNumberOfScans)
{
    TFixture fixture = Color(64, 48);
    fixture.progressive = true;
    const std::vector<std::uint8_t> jpeg = MakeJpeg(fixture);
    EXPECT_EQ(FailureOf([&] { DecodeSourcePicture(WithRepeatedLastScan(jpeg, 400), "a.jpg", false); }), "")
        << "a few hundred scans still decode";
    EXPECT_EQ(FailureOf([&] { DecodeSourcePicture(WithRepeatedLastScan(jpeg, 600), "a.jpg", false); }),
              "JPEG エラー #15");
}

TEST(DecodeSourcePicture, CorruptFilesGiveAPictureOrOurOwnMessage)
{
    TFixture baseline = Color(48, 32);
    baseline.ripple = 10;
    TFixture progressive = baseline;
    progressive.progressive = true;
    TFixture restarts = baseline;
    restarts.restartRows = 1;
    const std::vector<std::uint8_t> seeds[] = {MakeJpeg(baseline), MakeJpeg(progressive),
                                               MakeJpeg(GrayFixture(40, 24)), MakeJpeg(restarts)};
    std::mt19937 random(20240611);
    for (int round = 0; round < 400; ++round) {
        std::vector<std::uint8_t> bytes = seeds[round % 4];
        for (int hits = 1 + static_cast<int>(random() % 6); hits > 0; --hits)
            bytes[random() % bytes.size()] = random() % 3 == 0 ? 0xFF : static_cast<std::uint8_t>(random());
        const bool paletteMode = round % 7 == 0;
        const std::string failure = FailureOf([&] {
            const TBitmap picture = DecodeSourcePicture(bytes, "a.jpg", paletteMode);
            EncodeCropPicture(CutCropPicture(picture, {"-3", "2", "30", "30"}));
        });
        const bool ours = failure.empty() || failure.rfind("JPEG エラー #", 0) == 0 ||
                          failure == "ファイル a.jpg の色形式には対応していません" ||
                          (failure.rfind("ファイル a.jpg の画像 ", 0) == 0 &&
                           failure.find(" は大きすぎて扱えません") != std::string::npos);
        EXPECT_TRUE(ours) << "round " << round << ": " << failure;
    }
}

}  // namespace
