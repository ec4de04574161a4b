// File names as users have them, through the real program started from a shell without a
// display: Japanese characters, spaces, quotes, leading dashes that look like options, and
// bytes that are no UTF-8.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ProgramChecks.h"
#include "ProgramRun.h"
#include "SystemFixtures.h"
#include "TestFiles.h"
#include "TestJpeg.h"

namespace {

const struct {
    const char* source;
    const char* output;
} kNames[] = {
    {"写真 二〇二六年.jpg", "写真 二〇二六年_x.jpg"},
    {"a  b .jpg", "a  b _x.jpg"},
    {"it's.jpg", "it's_x.jpg"},
    {"say \"cheese\".jpg", "say \"cheese\"_x.jpg"},
    {"-x.jpg", "-x_x.jpg"},
    {"--help.jpg", "--help_x.jpg"},
    {"-platform.JPG", "-platform_x.jpg"},
    {"\x8e\xca\x90\x5e.jpg", "\x8e\xca\x90\x5e_x.jpg"},  // Shift-JIS bytes from an old card
    {"\xe5.jpg", "\xe5_x.jpg"},                  // a UTF-8 lead byte cut off before the dot
    {"line\nbreak.jpg", "line\nbreak_x.jpg"},
    {"tab\there.jpg", "tab\there_x.jpg"},
};

// A name of 255 bytes, the most a name may have here: its output name is 2 bytes too long.
const std::string kLongestName = std::string(251, 'a') + ".jpg";

std::vector<std::uint8_t> Photo() { return TestJpeg::MakeJpeg(TestJpeg::Color(200, 150)); }

}  // namespace

TEST(ProgramNames, EveryNameIsCroppedUnderItsOwnName)
{
    for (const bool relative : {true, false}) {
        SCOPED_TRACE(relative ? "names relative to the current folder" : "full paths");
        TProgramCopy program;
        TTempDir dir;
        // Toolkit options among the arguments: they name no file, and the toolkit must not
        // take them, or the names after them, for itself.
        std::vector<std::string> arguments{"-platform", "xcb", "--help"};
        std::vector<std::string> expectedEntries;
        for (const auto& name : kNames) {
            WriteBytes(dir / name.source, Photo());
            arguments.push_back(relative ? name.source : dir / name.source);
            expectedEntries.insert(expectedEntries.end(), {name.source, name.output});
        }
        std::sort(expectedEntries.begin(), expectedEntries.end());

        const TRunResult run = program.Run(arguments, dir.Path());
        ASSERT_TRUE(EndedByItself(run));
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(FolderEntries(dir.Path()), expectedEntries);
        for (const auto& name : kNames) {
            SCOPED_TRACE(name.output);
            const TestJpeg::TDecoded crop = TestJpeg::DecodeJpeg(ReadBytes(dir / name.output));
            EXPECT_EQ(crop.width, 100);
            EXPECT_EQ(crop.height, 100);
        }
    }
}

TEST(ProgramNames, AFailingNamePrintsItsLineAndStopsTheRun)
{
    const std::vector<std::uint8_t> photo = Photo();
    const std::vector<std::uint8_t> readOnlyOutput(500, 'r');
    const struct {
        const char* name;
        const char* argument;
        std::function<void(const TTempDir&)> make;
        std::string line;
        std::vector<std::string> leftBesideTheFirstAndLast;
    } cases[] = {
        {"an empty file with quotes and dashes in its name", "-x 'a' \"b\".jpg",
         [](const TTempDir& dir) { WriteText(dir / "-x 'a' \"b\".jpg", ""); }, "velmora: JPEG エラー #41.\n",
         {"-x 'a' \"b\".jpg"}},
        {"a folder with a picture's name", "--help 写真.jpg",
         [](const TTempDir& dir) { mkdir((dir / "--help 写真.jpg").c_str(), 0755); },
         "velmora: ファイル --help 写真.jpg は開けません.\n", {"--help 写真.jpg"}},
        {"a read-only output", "it's 写真.jpg",
         [&](const TTempDir& dir) {
             WriteBytes(dir / "it's 写真.jpg", photo);
             WriteBytes(dir / "it's 写真_x.jpg", readOnlyOutput);
             chmod((dir / "it's 写真_x.jpg").c_str(), 0444);
         },
         "velmora: ファイル it's 写真_x.jpg を作成できません.\n",
         {"it's 写真.jpg", "it's 写真_x.jpg"}},
        {"an output name longer than the file system allows", kLongestName.c_str(),
         [&](const TTempDir& dir) { WriteBytes(dir / kLongestName, photo); },
         "velmora: ファイル " + std::string(251, 'a') + "_x.jpg を作成できません.\n", {kLongestName}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TProgramCopy program;
        TTempDir dir;
        WriteBytes(dir / "-first.jpg", photo);
        c.make(dir);
        WriteBytes(dir / "-last.jpg", photo);

        const TRunResult run = program.Run({"-first.jpg", c.argument, "-last.jpg"}, dir.Path());
        ASSERT_TRUE(EndedByItself(run));
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.err, c.line);
        std::vector<std::string> expectedEntries = c.leftBesideTheFirstAndLast;
        expectedEntries.insert(expectedEntries.end(), {"-first.jpg", "-first_x.jpg", "-last.jpg"});
        std::sort(expectedEntries.begin(), expectedEntries.end());
        EXPECT_EQ(FolderEntries(dir.Path()), expectedEntries);
        EXPECT_EQ(ReadBytes(dir / "-last.jpg"), photo);
        if (FileExists(dir / "it's 写真_x.jpg")) {
            EXPECT_EQ(ReadBytes(dir / "it's 写真_x.jpg"), readOnlyOutput);
        }
    }
}
