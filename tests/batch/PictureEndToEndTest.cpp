// One file's whole work, from a JPEG file on disk to the crop file beside it.
#include <gtest/gtest.h>

#include "Messages.h"
#include "PictureCrop.h"
#include "PictureTestSupport.h"
#include "TestFiles.h"
#include "TestJpeg.h"

namespace {

using namespace TestJpeg;
using PictureTest::FailureOf;

std::vector<std::uint8_t> Colour640() { return MakeJpeg(Color(640, 480)); }

std::vector<std::uint8_t> Progressive()
{
    TFixture fixture = Color(640, 480);
    fixture.progressive = true;
    return MakeJpeg(fixture);
}

std::vector<std::uint8_t> Sampled422() { return MakeJpeg(Color(640, 480, 2, 1)); }
std::vector<std::uint8_t> Sampled444() { return MakeJpeg(Color(640, 480, 1, 1)); }

std::vector<std::uint8_t> WithRestarts()
{
    TFixture fixture = Color(640, 480);
    fixture.restartRows = 1;
    return MakeJpeg(fixture);
}

std::vector<std::uint8_t> Gray()
{
    TFixture fixture = Color(640, 480);
    fixture.kind = TKind::gray;
    return MakeJpeg(fixture);
}

std::vector<std::uint8_t> OnePixelHigh() { return MakeJpeg(Color(64, 1)); }
std::vector<std::uint8_t> CutShort() { return TruncateAfterHeader(Colour640(), 20); }
std::vector<std::uint8_t> Oriented() { return InsertExifOrientation(Colour640(), 6); }

enum class TContent { pattern, grayPattern, unknown };

struct TCropCase {
    const char* name;
    std::vector<std::uint8_t> (*source)();
    TCropTexts crop;
    int width;
    int height;
    TContent content;
};

const TCropCase kCropCases[] = {
    {"colour 640x480, 4:2:0", Colour640, {"0", "0", "100", "100"}, 100, 100, TContent::pattern},
    {"progressive", Progressive, {"0", "0", "100", "100"}, 100, 100, TContent::pattern},
    {"4:2:2", Sampled422, {"0", "0", "100", "100"}, 100, 100, TContent::pattern},
    {"4:4:4", Sampled444, {"0", "0", "100", "100"}, 100, 100, TContent::pattern},
    {"restart markers", WithRestarts, {"0", "0", "100", "100"}, 100, 100, TContent::pattern},
    {"gray", Gray, {"0", "0", "100", "100"}, 100, 100, TContent::grayPattern},
    {"one pixel high, crop one row", OnePixelHigh, {"0", "0", "50", "1"}, 50, 1, TContent::pattern},
    {"cut short after the header", CutShort, {"0", "0", "100", "100"}, 100, 100, TContent::unknown},
    {"orientation tag, rows as stored", Oriented, {"0", "0", "100", "100"}, 100, 100, TContent::pattern},
    {"crop wider than the source", OnePixelHigh, {"0", "0", "80", "3"}, 80, 3, TContent::unknown},
};

TEST(PictureEndToEnd, WritesTheCropAsBaselineJfif)
{
    for (const TCropCase& c : kCropCases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        const std::string source = dir / "a.jpg";
        const std::string output = dir / "a_x.jpg";
        WriteBytes(source, c.source());

        const TBitmap picture = LoadSourcePicture(source, false);
        const TBitmap crop = CutCropPicture(picture, c.crop);
        SaveCropPicture(crop, output);

        const std::vector<std::uint8_t> bytes = ReadBytes(output);
        PictureTest::ExpectCropFile(bytes, c.width, c.height);
        const TDecoded decoded = DecodeJpeg(bytes);
        EXPECT_EQ(decoded.width, c.width);
        EXPECT_EQ(decoded.height, c.height);
        EXPECT_EQ(decoded.fileComponents, 3);
        if (c.content == TContent::pattern)
            PictureTest::ExpectPattern(decoded, 10);
        if (c.content == TContent::grayPattern)
            PictureTest::ExpectGrayPattern(decoded, 10);
        EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"a.jpg", "a_x.jpg"}));
    }
}

std::vector<std::uint8_t> Cmyk()
{
    TFixture fixture = Color(64, 48);
    fixture.kind = TKind::cmyk;
    return MakeJpeg(fixture);
}

std::vector<std::uint8_t> Empty() { return {}; }

std::vector<std::uint8_t> Text()
{
    const std::string text = "This is a shopping list, not a picture.\n";
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

struct TRefusedCase {
    const char* name;
    std::vector<std::uint8_t> (*source)();
    const char* message;  // "%s" stands for the source's path
};

const TRefusedCase kRefusedCases[] = {
    {"CMYK", Cmyk, "ファイル %s の色形式には対応していません"},
    {"empty file", Empty, "JPEG エラー #41"},
    {"text file named .jpg", Text, "JPEG エラー #52"},
};

std::string WithPath(std::string message, const std::string& path)
{
    const std::size_t at = message.find("%s");
    if (at != std::string::npos)
        message.replace(at, 2, path);
    return message;
}

TEST(PictureEndToEnd, RefusesWhatItCannotDecodeAndWritesNothing)
{
    for (const TRefusedCase& c : kRefusedCases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        const std::string source = dir / "a.jpg";
        WriteBytes(source, c.source());

        const std::string failure = FailureOf([&] {
            const TBitmap picture = LoadSourcePicture(source, false);
            const TBitmap crop = CutCropPicture(picture, {"0", "0", "100", "100"});
            SaveCropPicture(crop, dir / "a_x.jpg");
        });

        EXPECT_EQ(failure, WithPath(c.message, source));
        EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"a.jpg"}));
    }
}

TEST(PictureEndToEnd, MissingSourceIsNamed)
{
    TTempDir dir;
    const std::string source = dir / "gone.jpg";
    EXPECT_EQ(FailureOf([&] { LoadSourcePicture(source, false); }), "ファイル " + source + " は開けません");
}

TEST(PictureEndToEnd, OutputNamingTheSourceReplacesIt)
{
    TTempDir dir;
    const std::string source = dir / "a.jpg";
    WriteBytes(source, Colour640());

    const TBitmap picture = LoadSourcePicture(source, false);
    SaveCropPicture(CutCropPicture(picture, {"0", "0", "100", "100"}), source);

    PictureTest::ExpectCropFile(ReadBytes(source), 100, 100);
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"a.jpg"}));
}

}  // namespace
