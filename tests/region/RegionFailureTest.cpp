// The region decoder fails as the full path does: the same message for the same file and
// texts, decoding failures before text failures, and the source still replaceable.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BatchRun.h"
#include "JpegRegion.h"
#include "PhotoJpeg.h"
#include "PictureCrop.h"
#include "SystemFixtures.h"
#include "TestFiles.h"
#include "TestJpeg.h"

namespace {

// What a call threw, or "no failure".
std::string FailureOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& failure) {  // the message is what this test compares
        return failure.what();
    }
    return "no failure";
}

std::vector<std::uint8_t> GoodJpeg()
{
    return PhotoJpeg::MakePhotoJpeg({120, 80, PhotoJpeg::TModel::color});
}

std::vector<std::uint8_t> CmykJpeg()
{
    return PhotoJpeg::MakePhotoJpeg({40, 24, PhotoJpeg::TModel::cmyk});
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

const TCropTexts kGoodTexts{"0", "0", "10", "10"};

struct TFailureCase {
    const char* name;
    std::function<void(const std::string& path)> makeFile;  // nothing made: the file is missing
    TCropTexts texts;
    std::string expected;  // "%s" stands for the path
};

std::string WithPath(std::string text, const std::string& path)
{
    const std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, path);
    return text;
}

TEST(RegionFailure, GivesTheFullPathsMessage)
{
    auto file = [](std::vector<std::uint8_t> bytes) {
        return [bytes](const std::string& path) { WriteBytes(path, bytes); };
    };
    const auto missing = [](const std::string&) {};
    const auto folder = [](const std::string& path) { std::filesystem::create_directory(path); };
    const std::vector<std::uint8_t> good = GoodJpeg();
    const TFailureCase cases[] = {
        {"missing file", missing, kGoodTexts, "ファイル %s は開けません"},
        {"a folder", folder, kGoodTexts, "ファイル %s は開けません"},
        {"empty file", file({}), kGoodTexts, "JPEG エラー #41"},
        {"text file", file(Bytes("just some text\n")), kGoodTexts, "JPEG エラー #52"},
        {"start of image only", file({0xFF, 0xD8}), kGoodTexts, "JPEG エラー #50"},
        {"frame of height 0", file(TestJpeg::WithClaimedSize(good, 120, 0)), kGoodTexts, "JPEG エラー #31"},
        {"frame too large", file(TestJpeg::WithClaimedSize(good, 65000, 65000)), kGoodTexts,
         "ファイル %s の画像 65000 × 65000 は大きすぎて扱えません"},
        {"CMYK file", file(CmykJpeg()), kGoodTexts, "ファイル %s の色形式には対応していません"},
        {"abc in the width", file(good), {"0", "0", "abc", "10"}, "'abc' は整数ではありません"},
        {"first bad text named", file(good), {"q", "0", "abc", "10"}, "'q' は整数ではありません"},
        {"abc in an empty file", file({}), {"0", "0", "abc", "10"}, "JPEG エラー #41"},
        {"width 0", file(good), {"0", "0", "0", "100"}, "切り抜きサイズ 0 × 100 の画像は作成できません"},
        {"height -5", file(good), {"0", "0", "100", "-5"}, "切り抜きサイズ 100 × -5 の画像は作成できません"},
        {"width 0 of a text file", file(Bytes("text")), {"0", "0", "0", "100"}, "JPEG エラー #52"},
        {"crop too large", file(good), {"0", "0", "70000", "10"},
         "切り抜きサイズ 70000 × 10 の画像は作成できません"},
    };
    for (const TFailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        const std::string path = dir / "a.jpg";
        c.makeFile(path);
        const std::string full = FailureOf([&] { CutCropPicture(LoadSourcePicture(path, false), c.texts); });
        EXPECT_EQ(full, WithPath(c.expected, path));
        EXPECT_EQ(FailureOf([&] { LoadAndCutCrop(path, c.texts, false); }), full);
    }
}

// A file cut short after its header decodes without a message, the rest being what the
// library supplies; the crop has its size wherever the rectangle lies.
TEST(RegionFailure, FileCutShortAfterItsHeaderGivesTheFullPathsCrop)
{
    TTempDir dir;
    const std::string path = dir / "a.jpg";
    const std::vector<std::uint8_t> bytes = TestJpeg::TruncateAfterHeader(GoodJpeg());
    WriteBytes(path, bytes);
    const TBitmap source = DecodeSourcePicture(bytes, path, false);
    for (const TCropTexts& texts : {TCropTexts{"0", "0", "10", "10"}, TCropTexts{"50", "40", "100", "60"}}) {
        const TBitmap crop = LoadAndCutCrop(path, texts, false);
        EXPECT_EQ(EncodeCropPicture(crop), EncodeCropPicture(CutCropPicture(source, texts)));
    }
}

// A source the user may not read is refused when it is opened, by both paths alike; a
// readable one beside it shows the helper gets that far as the same user.
TEST(RegionFailure, SourceTheUserMayNotReadCannotBeOpened)
{
    TUnprivilegedRunner runner(REGION_PROBE_PATH);
    if (!runner.Available())
        GTEST_SKIP() << "needs root and setpriv to run a case as another user";
    TTempDir dir;
    chmod(dir.Path().c_str(), 0755);
    const std::string locked = dir / "locked.jpg";
    const std::string readable = dir / "readable.jpg";
    WriteBytes(locked, GoodJpeg());
    WriteBytes(readable, GoodJpeg());
    chmod(locked.c_str(), 0600);
    chmod(readable.c_str(), 0644);

    const std::string refused = "ファイル " + locked + " は開けません";
    EXPECT_EQ(runner.Run({locked}).output, "region: " + refused + "\nfull: " + refused + "\n");
    EXPECT_EQ(runner.Run({readable}).output, "region: no failure\nfull: no failure\n");
}

// The decoder stops after the rectangle's last row, so damage further on, which the full path
// meets and fails on, goes unnoticed, and the crop is that of the undamaged file.
TEST(RegionFailure, DamagePastTheRectangleGoesUnnoticed)
{
    TTempDir dir;
    const std::string path = dir / "a.jpg";
    const std::vector<std::uint8_t> good = GoodJpeg();
    std::vector<std::uint8_t> damaged = good;
    ASSERT_EQ(damaged.back(), 0xD9);
    damaged.back() = 0x02;  // the end-of-image marker turned into one no decoder knows
    WriteBytes(path, damaged);
    const TCropTexts texts{"0", "0", "16", "16"};
    EXPECT_EQ(FailureOf([&] { CutCropPicture(LoadSourcePicture(path, false), texts); }), "JPEG エラー #67");
    const std::vector<std::uint8_t> expected = EncodeCropPicture(CutCropPicture(DecodeSourcePicture(good, path, false), texts));
    EXPECT_EQ(EncodeCropPicture(LoadAndCutCrop(path, texts, false)), expected);
}

class TFixedSettings : public TCurrentSettings {
public:
    TCropTexts CropTexts() const override { return {"8", "4", "24", "16"}; }
    TNamingSettings Naming() const override { return naming; }
    TNamingSettings naming;
};

// With no suffix and no prefix the output names the source; the source must be closed and
// done with by then, so the crop replaces it.
TEST(RegionFailure, OutputNamingTheSourceReplacesIt)
{
    TTempDir dir;
    const std::string path = dir / "a.jpg";
    WriteBytes(path, GoodJpeg());
    const std::vector<std::uint8_t> expected =
        EncodeCropPicture(CutCropPicture(LoadSourcePicture(path, false), TFixedSettings().CropTexts()));
    TFixedSettings settings;
    settings.naming.suffix = "";
    settings.naming.prefix = "";
    RunBatch({dir / "velmora", path}, settings, false);
    EXPECT_EQ(ReadBytes(path), expected);
}

}  // namespace
