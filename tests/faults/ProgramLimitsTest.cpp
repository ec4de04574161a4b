// Pictures and crops that would take more memory than a machine has, through the real program
// under a memory limit of 1 GiB (none under AddressSanitizer) and a time limit: each ends with
// a clear message or a correct crop, never with a crash, a hang or an out-of-memory kill. The
// peak memory of every run is printed and recorded, so that the bound can be read off the
// test's output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "OneColourJpeg.h"
#include "ProgramChecks.h"
#include "ProgramRun.h"
#include "SystemFixtures.h"
#include "TestFiles.h"
#include "TestJpeg.h"

namespace {

// The one-colour pictures below: Y 100, Cb 150, Cr 90, which the library gives as this RGB.
constexpr OneColourJpeg::TYCbCr kTeal{100, 150, 90};
constexpr TestJpeg::TRgb kTealRgb{47, 120, 139};

bool Near(const TestJpeg::TRgb& a, const TestJpeg::TRgb& b, int tolerance)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

std::string IniWithCrop(const std::string& x, const std::string& y, const std::string& width,
                        const std::string& height)
{
    return "[main]\nx=" + x + "\ny=" + y + "\nxx=" + width + "\nyy=" + height + "\n";
}

enum class TOutcome { cropOrMessage, crop, message };

struct TLimitCase {
    std::string name;
    std::vector<std::uint8_t> source;
    std::string ini;
    TOutcome outcome;
    int cropWidth;
    int cropHeight;
    // Checks the decoded crop further; null when any pixels will do (a header that claims more
    // than the data holds decodes to whatever the library makes of it).
    std::function<void(const TestJpeg::TDecoded&)> checkCrop;
    TRunLimits limits = {};
};

void RunLimitCase(const TLimitCase& c)
{
    SCOPED_TRACE(c.name);
    TProgramCopy program;
    program.WriteSettings(c.ini);
    TTempDir dir;
    WriteBytes(dir / "big.jpg", c.source);

    const TRunResult run = program.Run({"big.jpg"}, dir.Path(), c.limits);
    std::string outcome = run.exited && run.exitStatus == 0 ? "cropped" : run.Describe();
    if (!outcome.empty() && outcome.back() == '\n')
        outcome.pop_back();
    std::printf("[ bound    ] %-55s peak %6ld MiB, %5.2f s, %s\n", c.name.c_str(), run.peakKiB / 1024, run.seconds,
                outcome.c_str());
    testing::Test::RecordProperty(c.name + " peak MiB", std::to_string(run.peakKiB / 1024));
    ASSERT_TRUE(EndedCleanly(run));
    if (c.outcome == TOutcome::crop) {
        EXPECT_EQ(run.exitStatus, 0) << run.err;
    }
    if (c.outcome == TOutcome::message) {
        EXPECT_EQ(run.exitStatus, 1);
    }
    EXPECT_EQ(ReadBytes(dir / "big.jpg"), c.source);
    if (run.exitStatus == 1) {
        EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"big.jpg"});
        return;
    }
    ASSERT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"big.jpg", "big_x.jpg"}));
    const std::vector<std::uint8_t> output = ReadBytes(dir / "big_x.jpg");
    EXPECT_EQ(TestJpeg::ReadFrame(output).code, TestJpeg::kSOF0);
    const TestJpeg::TDecoded crop = TestJpeg::DecodeJpeg(output);
    EXPECT_EQ(crop.width, c.cropWidth);
    EXPECT_EQ(crop.height, c.cropHeight);
    if (c.checkCrop)
        c.checkCrop(crop);
}


std::vector<std::uint8_t> SmallFile(bool progressive, bool gray)
{
    TestJpeg::TFixture fixture = TestJpeg::Color(64, 48);
    fixture.progressive = progressive;
    if (gray)
        fixture.kind = TestJpeg::TKind::gray;
    return TestJpeg::MakeJpeg(fixture);
}

void ExpectEverywhere(const TestJpeg::TDecoded& crop, const TestJpeg::TRgb& colour)
{
    for (const auto& [column, row] : {std::pair{0, 0}, {50, 50}, {99, 99}})
        EXPECT_TRUE(Near(crop.At(column, row), colour, 3)) << column << ", " << row;
}

TRunLimits AddressSpace(rlim_t bytes)
{
    TRunLimits limits;
    limits.addressSpace = bytes;
    return limits;
}

}  // namespace

TEST(OneColourJpeg, IsAValidProgressiveFileOfItsSizeAndColour)
{
    const struct {
        const char* name;
        int width;
        int height;
        bool gray;
        int extraScans;
        TestJpeg::TRgb colour;
    } cases[] = {
        {"whole units", 16, 16, false, 0, kTealRgb},
        {"several units", 40, 24, false, 0, kTealRgb},
        {"partial units", 33, 17, false, 0, kTealRgb},
        {"gray", 33, 17, true, 0, {100, 100, 100}},
        {"repeated scans", 40, 24, false, 3, kTealRgb},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> file = OneColourJpeg::Make(c.width, c.height, kTeal, c.gray, c.extraScans);
        const TestJpeg::TDecoded decoded = TestJpeg::DecodeJpeg(file);
        EXPECT_TRUE(decoded.progressive);
        EXPECT_EQ(decoded.fileComponents, c.gray ? 1 : 3);
        EXPECT_EQ(decoded.width, c.width);
        EXPECT_EQ(decoded.height, c.height);
        const std::vector<int> codes = TestJpeg::MarkerCodes(file);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), TestJpeg::kSOS), (c.gray ? 2 : 4) + c.extraScans);
        for (const auto& [column, row] : {std::pair{0, 0}, {c.width - 1, c.height - 1}, {c.width / 2, c.height / 3}})
            EXPECT_TRUE(Near(decoded.At(column, row), c.colour, 1)) << column << ", " << row;
    }
}

TEST(ResourceLimits, AHeaderClaiming65500By65500GivesAMessageOrACrop)
{
    for (const bool progressive : {false, true})
        for (const bool gray : {false, true})
            for (const bool bottomRight : {false, true}) {
                const std::string start = bottomRight ? "65400" : "0";
                RunLimitCase({std::string("claims 65500 x 65500, ") + (progressive ? "progressive" : "baseline") +
                                  (gray ? ", gray" : ", colour") + (bottomRight ? ", bottom-right" : ", top-left"),
                              TestJpeg::WithClaimedSize(SmallFile(progressive, gray), 65500, 65500),
                              IniWithCrop(start, start, "100", "100"), TOutcome::cropOrMessage, 100, 100, nullptr});
            }
}

TEST(ResourceLimits, ADecompressionBombGivesAMessageOrACorrectCrop)
{
    // Without its memory limit a sanitized program would take gigabytes and minutes here.
    if (kUnderAddressSanitizer)
        GTEST_SKIP() << "a memory limit cannot hold a program under AddressSanitizer";
    const struct {
        const char* name;
        int side;
        bool gray;
        rlim_t addressSpace;
    } bombs[] = {
        {"20000 x 20000 progressive colour (400 megapixels)", 20000, false, kOneGiB},
        {"14000 x 14000 progressive colour (196 megapixels)", 14000, false, kOneGiB},
        {"14000 x 14000 progressive gray", 14000, true, kOneGiB},
        {"14000 x 14000 progressive colour under 384 MiB", 14000, false, rlim_t{384} << 20},
    };
    for (const auto& bomb : bombs) {
        const std::vector<std::uint8_t> file = OneColourJpeg::Make(bomb.side, bomb.side, kTeal, bomb.gray);
        const TestJpeg::TRgb colour = bomb.gray ? TestJpeg::TRgb{100, 100, 100} : kTealRgb;
        const std::string end = std::to_string(bomb.side - 100);
        for (const bool bottomRight : {false, true}) {
            const std::string start = bottomRight ? end : "0";
            RunLimitCase({std::string(bomb.name) + (bottomRight ? ", bottom-right" : ", top-left"), file,
                          IniWithCrop(start, start, "100", "100"), TOutcome::cropOrMessage, 100, 100,
                          [&](const TestJpeg::TDecoded& crop) { ExpectEverywhere(crop, colour); },
                          AddressSpace(bomb.addressSpace)});
        }
    }
}

TEST(ResourceLimits, AFileOfManyScansEndsInTime)
{
    const struct {
        const char* name;
        int extraScans;
    } files[] = {
        {"8000 x 8000 progressive, 495 scans", 491},
        {"8000 x 8000 progressive, 5000 scans", 4996},
    };
    for (const auto& file : files)
        RunLimitCase({file.name, OneColourJpeg::Make(8000, 8000, kTeal, false, file.extraScans),
                      IniWithCrop("7900", "7900", "100", "100"), TOutcome::cropOrMessage, 100, 100,
                      [](const TestJpeg::TDecoded& crop) { ExpectEverywhere(crop, kTealRgb); }});
}

TEST(ResourceLimits, LargeCropsFromTheSettingsFile)
{
    const std::vector<std::uint8_t> photo = TestJpeg::MakeJpeg(TestJpeg::Color(640, 480));
    RunLimitCase({"a crop of 2048 x 2048 from 640 x 480", photo, IniWithCrop("0", "0", "2048", "2048"),
                  TOutcome::crop, 2048, 2048, [](const TestJpeg::TDecoded& crop) {
                      EXPECT_TRUE(Near(crop.At(104, 56), TestJpeg::PatternColor(104, 56), 8));
                      EXPECT_TRUE(Near(crop.At(632, 472), TestJpeg::PatternColor(632, 472), 8));
                      EXPECT_TRUE(Near(crop.At(700, 100), {255, 255, 255}, 3));
                      EXPECT_TRUE(Near(crop.At(2047, 2047), {255, 255, 255}, 3));
                  }});
    RunLimitCase({"a crop of 100000 x 100000 from 640 x 480", photo, IniWithCrop("0", "0", "100000", "100000"),
                  TOutcome::message, 0, 0, nullptr});
}

TEST(ResourceLimits, AFileSizeLimitFailsTheWriteAndLeavesNoPartialFile)
{
    TProgramCopy program;
    program.WriteSettings(IniWithCrop("0", "0", "640", "480"));
    TTempDir dir;
    TestJpeg::TFixture fixture = TestJpeg::Color(640, 480);
    fixture.ripple = 40;
    const std::vector<std::uint8_t> photo = TestJpeg::MakeJpeg(fixture);
    const std::vector<std::uint8_t> oldOutput(3000, 'o');
    WriteBytes(dir / "photo.jpg", photo);
    WriteBytes(dir / "photo_x.jpg", oldOutput);
    TRunLimits limits;
    limits.fileSize = 16 * 1024;  // the sources were written before, the crop needs more

    const TRunResult run = program.Run({"photo.jpg"}, dir.Path(), limits);
    ASSERT_TRUE(EndedByItself(run));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, ErrorLine("ファイル photo_x.jpg に書き込めません"));
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"photo.jpg", "photo_x.jpg"}));
    EXPECT_EQ(ReadBytes(dir / "photo.jpg"), photo);
    EXPECT_EQ(ReadBytes(dir / "photo_x.jpg"), oldOutput);
}
