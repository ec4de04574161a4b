// Cutting the crop rectangle: which pixels come from the source, which stay white, and which
// crop values are refused before anything is written.
#include <gtest/gtest.h>

#include <cstring>

#include "Messages.h"
#include "PictureCrop.h"
#include "PictureTestSupport.h"
#include "TestFiles.h"
#include "TestJpeg.h"

namespace {

using namespace TestJpeg;
using PictureTest::FailureOf;

struct TSpan {
    int first;
    int end;  // one past the last; first == end for none
    bool Holds(int at) const { return at >= first && at < end; }
};

struct TRectCase {
    const char* name;
    TCropTexts crop;
    int width;
    int height;
    TSpan insideColumns;  // crop columns whose source column lies in the source
    TSpan insideRows;
    int x;  // the crop's start as a number, where some of it lies inside the source
    int y;
};

// On a source of 640 by 480 pixels.
const TRectCase kRectCases[] = {
    {"top left", {"0", "0", "100", "100"}, 100, 100, {0, 100}, {0, 100}, 0, 0},
    {"past the right edge", {"600", "0", "100", "100"}, 100, 100, {0, 40}, {0, 100}, 600, 0},
    {"past the bottom edge", {"0", "450", "10", "50"}, 10, 50, {0, 10}, {0, 30}, 0, 450},
    {"past the bottom right corner", {"630", "470", "20", "20"}, 20, 20, {0, 10}, {0, 10}, 630, 470},
    {"negative starts", {"-10", "-20", "50", "50"}, 50, 50, {10, 50}, {20, 50}, -10, -20},
    {"larger than the source on every side", {"-5", "-5", "650", "490"}, 650, 490, {5, 645}, {5, 485}, -5, -5},
    {"wholly right of the source", {"640", "0", "20", "20"}, 20, 20, {0, 0}, {0, 0}, 0, 0},
    {"wholly above the source", {"0", "-30", "20", "20"}, 20, 20, {0, 0}, {0, 0}, 0, 0},
    {"start near the 32-bit limit", {"2147483600", "0", "100", "10"}, 100, 10, {0, 0}, {0, 0}, 0, 0},
    {"most negative starts", {"-2147483648", "-2147483648", "10", "10"}, 10, 10, {0, 0}, {0, 0}, 0, 0},
    {"integer texts in hex and with spaces", {"$10", "  8", "0x20", "+4"}, 32, 4, {0, 32}, {0, 4}, 16, 8},
};

const std::uint8_t kWhite[3] = {255, 255, 255};

// Every pixel of the crop is the source's at the offset position where the case says it
// lies inside, and white elsewhere.
void ExpectCropOf(const TBitmap& crop, const TDecoded& source, int x, int y, const TSpan& columns,
                  const TSpan& rows)
{
    for (int row = 0; row < crop.Height(); ++row)
        for (int column = 0; column < crop.Width(); ++column) {
            const std::uint8_t* got = crop.ScanLine(row) + column * 3;
            const bool inside = columns.Holds(column) && rows.Holds(row);
            const std::uint8_t* want =
                inside ? source.bgr.data() + ((static_cast<std::size_t>(y) + row) * source.width + x + column) * 3
                       : kWhite;
            if (std::memcmp(got, want, 3) != 0) {
                ADD_FAILURE() << "pixel " << column << "," << row << (inside ? " (inside)" : " (outside)")
                              << " is " << int(got[0]) << " " << int(got[1]) << " " << int(got[2]);
                return;
            }
        }
}

TEST(CutCropPicture, TakesSourcePixelsInsideAndWhiteOutside)
{
    // Rippled sources, so that a decoding parameter other than the library's reference ones
    // changes pixels; a progressive file cut short is smoothed where its data ends.
    TFixture rippled = Color(640, 480);
    rippled.ripple = 16;
    TFixture progressive = rippled;
    progressive.progressive = true;
    const std::vector<std::uint8_t> progressiveFile = MakeJpeg(progressive);
    const struct {
        const char* name;
        std::vector<std::uint8_t> jpeg;
    } sources[] = {
        {"baseline", MakeJpeg(rippled)},
        {"progressive cut short", std::vector<std::uint8_t>(progressiveFile.begin(),
                                                            progressiveFile.begin() + progressiveFile.size() / 5)},
    };
    for (const auto& s : sources) {
        SCOPED_TRACE(s.name);
        const TBitmap source = DecodeSourcePicture(s.jpeg, "a.jpg", false);
        const TDecoded reference = DecodeJpeg(s.jpeg, TDecodeParameters::velmora);
        for (const TRectCase& c : kRectCases) {
            SCOPED_TRACE(c.name);
            const TBitmap crop = CutCropPicture(source, c.crop);
            ASSERT_EQ(crop.Width(), c.width);
            ASSERT_EQ(crop.Height(), c.height);
            ASSERT_EQ(crop.PixelFormat(), TPixelFormat::pf24bit);
            ExpectCropOf(crop, reference, c.x, c.y, c.insideColumns, c.insideRows);
        }
    }
}

TEST(CutCropPicture, PastTheRightEdgeKeepsTheLastSourceColumns)
{
    // Hand-picked probes: crop column 39 is source column 639, column 40 lies outside.
    const TBitmap source = DecodeSourcePicture(MakeJpeg(Color(640, 480)), "a.jpg", false);
    const TBitmap crop = CutCropPicture(source, {"600", "0", "100", "100"});
    EXPECT_EQ(std::memcmp(crop.ScanLine(8) + 39 * 3, source.ScanLine(8) + 639 * 3, 3), 0);
    EXPECT_EQ(std::memcmp(crop.ScanLine(8) + 40 * 3, kWhite, 3), 0);
    EXPECT_EQ(std::memcmp(crop.ScanLine(99) + 99 * 3, kWhite, 3), 0);
}

// An 8-bit source (gray always, any source in palette mode) is converted through its palette.
TEST(CutCropPicture, ConvertsPaletteSourcesToColour)
{
    TFixture gray = Color(64, 48);
    gray.kind = TKind::gray;
    const struct {
        const char* name;
        std::vector<std::uint8_t> jpeg;
        bool paletteMode;
        TDecodeParameters reference;
    } cases[] = {
        {"gray", MakeJpeg(gray), false, TDecodeParameters::velmora},
        {"colour in palette mode", MakeJpeg(Color(64, 48)), true, TDecodeParameters::velmoraPaletteMode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TBitmap source = DecodeSourcePicture(c.jpeg, "a.jpg", c.paletteMode);
        ASSERT_EQ(source.PixelFormat(), TPixelFormat::pf8bit);
        const TDecoded reference = DecodeJpeg(c.jpeg, c.reference);
        const TBitmap crop = CutCropPicture(source, {"-4", "10", "40", "40"});
        ASSERT_EQ(crop.PixelFormat(), TPixelFormat::pf24bit);
        ExpectCropOf(crop, reference, -4, 10, {4, 40}, {0, 38});
    }
}

struct TSizeCase {
    const char* width;
    const char* height;
    const char* message;
};

const TSizeCase kRefusedSizes[] = {
    {"0", "100", "切り抜きサイズ 0 × 100 の画像は作成できません"},
    {"100", "0", "切り抜きサイズ 100 × 0 の画像は作成できません"},
    {"-5", "100", "切り抜きサイズ -5 × 100 の画像は作成できません"},
    {"-5", "0", "切り抜きサイズ -5 × 0 の画像は作成できません"},
    {"-2147483648", "-1", "切り抜きサイズ -2147483648 × -1 の画像は作成できません"},
    {"65501", "1", "切り抜きサイズ 65501 × 1 の画像は作成できません"},
    {"1", "2147483647", "切り抜きサイズ 1 × 2147483647 の画像は作成できません"},
    {"20000", "20000", "切り抜きサイズ 20000 × 20000 の画像は作成できません"},
    {"2147483647", "2147483647", "切り抜きサイズ 2147483647 × 2147483647 の画像は作成できません"},
};

TEST(CutCropPicture, RefusesSizesItCannotMakeBeforeAnyFileIsTouched)
{
    TTempDir dir;
    const std::string source = dir / "a.jpg";
    const std::string output = dir / "a_x.jpg";
    WriteBytes(source, MakeJpeg(Color(64, 48)));
    WriteText(output, "an earlier crop");
    for (const TSizeCase& c : kRefusedSizes) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        bool cut = false;
        const std::string failure = FailureOf([&] {
            const TBitmap picture = LoadSourcePicture(source, false);
            const TBitmap crop = CutCropPicture(picture, {"0", "0", c.width, c.height});
            cut = true;
            SaveCropPicture(crop, output);
        });
        EXPECT_FALSE(cut) << "refused when the crop is made";
        EXPECT_EQ(failure, c.message);
        EXPECT_EQ(ReadText(output), "an earlier crop");
        EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"a.jpg", "a_x.jpg"}));
    }
}

TEST(CutCropPicture, LargestSidesAJpegHoldsAreMade)
{
    const TBitmap source = DecodeSourcePicture(MakeJpeg(Color(64, 48)), "a.jpg", false);
    const struct {
        const char* width;
        const char* height;
    } cases[] = {{"65500", "1"}, {"1", "65500"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        const TBitmap crop = CutCropPicture(source, {"0", "0", c.width, c.height});
        const TDecoded decoded = DecodeJpeg(EncodeCropPicture(crop));
        EXPECT_EQ(decoded.width, std::stoi(c.width));
        EXPECT_EQ(decoded.height, std::stoi(c.height));
    }
}

struct TTextCase {
    const char* name;
    TCropTexts crop;
    const char* message;
};

const TTextCase kTextCases[] = {
    {"width abc", {"0", "0", "abc", "100"}, "'abc' は整数ではありません"},
    {"first failure is named", {"q", "0", "abc", "100"}, "'q' は整数ではありません"},
    {"empty vertical start", {"0", "", "100", "100"}, "'' は整数ではありません"},
    {"height with trailing space", {"0", "0", "100", "100 "}, "'100 ' は整数ではありません"},
    {"start beyond 32 bits", {"2147483648", "0", "100", "100"}, "'2147483648' は整数ではありません"},
    {"text before a zero width", {"x", "0", "0", "100"}, "'x' は整数ではありません"},
};

TEST(CutCropPicture, TextThatIsNoIntegerFailsAfterDecodingAndWritesNothing)
{
    TTempDir dir;
    const std::string source = dir / "a.jpg";
    const std::string output = dir / "a_x.jpg";
    WriteBytes(source, MakeJpeg(Color(64, 48)));
    WriteText(output, "an earlier crop");
    for (const TTextCase& c : kTextCases) {
        SCOPED_TRACE(c.name);
        bool decoded = false;
        const std::string failure = FailureOf([&] {
            const TBitmap picture = LoadSourcePicture(source, false);
            decoded = true;
            SaveCropPicture(CutCropPicture(picture, c.crop), output);
        });
        EXPECT_TRUE(decoded);
        EXPECT_EQ(failure, c.message);
        EXPECT_EQ(ReadText(output), "an earlier crop");
        EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"a.jpg", "a_x.jpg"}));
    }
}

}  // namespace
