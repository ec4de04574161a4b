#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "BatchRun.h"
#include "BatchRunSupport.h"
#include "TestFiles.h"
#include "TestJpeg.h"

namespace {

// Stands in for the settings window: the texts a test gives it, read afresh at every file.
class TStandInSettings : public TCurrentSettings {
public:
    TCropTexts crop{"0", "0", "100", "100"};
    TNamingSettings naming{"_x", "", false};
    // Called after every output name was asked for, so a test can change the settings
    // between files the way a user cannot but the batch run must allow.
    std::vector<std::string> suffixesAfterEachFile;
    mutable std::size_t namingReads = 0;

    TCropTexts CropTexts() const override { return crop; }
    TNamingSettings Naming() const override
    {
        TNamingSettings current = naming;
        if (namingReads < suffixesAfterEachFile.size())
            current.suffix = suffixesAfterEachFile[namingReads];
        ++namingReads;
        return current;
    }
};

void WriteJpeg(const std::string& path, int width, int height)
{
    WriteBytes(path, TestJpeg::MakeJpeg(TestJpeg::Color(width, height)));
}

TestJpeg::TDecoded Decoded(const std::string& path) { return TestJpeg::DecodeJpeg(ReadBytes(path)); }

bool IsWhite(const TestJpeg::TRgb& c) { return c.red > 250 && c.green > 250 && c.blue > 250; }

}  // namespace

TEST(BatchRun, CropsTheJpegFilesAndSkipsTheRest)
{
    TTempDir dir;
    WriteJpeg(dir / "IMG_0001.JPG", 640, 480);
    WriteJpeg(dir / "b.Jpg", 320, 240);
    WriteText(dir / "notes.txt", "not a picture");
    WriteJpeg(dir / "c.jpeg", 64, 64);
    TStandInSettings settings;

    EXPECT_EQ(RunOver({dir / "IMG_0001.JPG", dir / "notes.txt", dir / "missing.jpg", dir / "b.Jpg", dir / "c.jpeg"},
                  settings),
              "");
    const TestJpeg::TDecoded first = Decoded(dir / "IMG_0001_x.jpg");
    EXPECT_EQ(first.width, 100);
    EXPECT_EQ(first.height, 100);
    EXPECT_TRUE(FileExists(dir / "b_x.jpg"));
    EXPECT_FALSE(FileExists(dir / "notes_x.jpg"));
    EXPECT_FALSE(FileExists(dir / "c_x.jpg"));
    EXPECT_FALSE(FileExists(dir / "missing_x.jpg"));
}

TEST(BatchRun, ReadsTheSettingsAfreshForEveryFile)
{
    TTempDir dir;
    WriteJpeg(dir / "a.jpg", 64, 64);
    WriteJpeg(dir / "b.jpg", 64, 64);
    TStandInSettings settings;
    settings.suffixesAfterEachFile = {"_first", "_second"};

    EXPECT_EQ(RunOver({dir / "a.jpg", dir / "b.jpg"}, settings), "");
    EXPECT_TRUE(FileExists(dir / "a_first.jpg"));
    EXPECT_TRUE(FileExists(dir / "b_second.jpg"));
}

TEST(BatchRun, TheFirstFailureStopsTheRunAndKeepsEarlierOutputs)
{
    TTempDir dir;
    WriteJpeg(dir / "1.jpg", 64, 64);
    WriteText(dir / "2.jpg", "");
    WriteJpeg(dir / "3.jpg", 64, 64);
    TStandInSettings settings;

    EXPECT_EQ(RunOver({dir / "1.jpg", dir / "2.jpg", dir / "3.jpg"}, settings), "JPEG エラー #41");
    EXPECT_TRUE(FileExists(dir / "1_x.jpg"));
    EXPECT_FALSE(FileExists(dir / "2_x.jpg"));
    EXPECT_FALSE(FileExists(dir / "3_x.jpg"));
}

TEST(BatchRun, FailuresNameTheFileOrTheValue)
{
    const struct {
        const char* name;
        TCropTexts crop;
        bool folderNamedJpg;
        const char* message;  // with %s for the folder of the test
    } cases[] = {
        {"width not an integer text", {"0", "0", "abc", "100"}, false, "'abc' は整数ではありません"},
        {"start not an integer text", {"1 ", "0", "abc", "100"}, false, "'1 ' は整数ではありません"},
        {"width zero", {"0", "0", "0", "100"}, false, "切り抜きサイズ 0 × 100 の画像は作成できません"},
        {"negative width", {"0", "0", "-5", "0"}, false, "切り抜きサイズ -5 × 0 の画像は作成できません"},
        {"a folder named .jpg", {"0", "0", "100", "100"}, true, "ファイル %s/d.jpg は開けません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        WriteJpeg(dir / "a.jpg", 64, 64);
        WriteJpeg(dir / "z.jpg", 64, 64);
        std::vector<std::string> arguments{dir / "a.jpg", dir / "z.jpg"};
        if (c.folderNamedJpg) {
            mkdir((dir / "d.jpg").c_str(), 0755);
            arguments.insert(arguments.begin(), dir / "d.jpg");
        }
        TStandInSettings settings;
        settings.crop = c.crop;

        std::string expected = c.message;
        if (const std::size_t at = expected.find("%s"); at != std::string::npos)
            expected.replace(at, 2, dir.Path());
        EXPECT_EQ(RunOver(arguments, settings), expected);
        EXPECT_FALSE(FileExists(dir / "a_x.jpg"));
        EXPECT_FALSE(FileExists(dir / "z_x.jpg"));
    }
}

TEST(BatchRun, AReadOnlyOutputStopsTheRunAndStaysAsItWas)
{
    TTempDir dir;
    WriteJpeg(dir / "a.jpg", 64, 64);
    WriteJpeg(dir / "b.jpg", 64, 64);
    WriteText(dir / "a_x.jpg", "keep me");
    chmod((dir / "a_x.jpg").c_str(), 0444);
    TStandInSettings settings;

    EXPECT_EQ(RunOver({dir / "a.jpg", dir / "b.jpg"}, settings), "ファイル " + (dir / "a_x.jpg") + " を作成できません");
    EXPECT_EQ(ReadText(dir / "a_x.jpg"), "keep me");
    EXPECT_FALSE(FileExists(dir / "b_x.jpg"));
}

TEST(BatchRun, AnArgumentGivenTwiceIsCroppedTwice)
{
    // With no suffix and no prefix the output replaces the source, so the second pass cuts
    // from the first pass's crop: columns 60 to 99 of it are left, the rest is white.
    TTempDir dir;
    WriteJpeg(dir / "a.jpg", 640, 480);
    TStandInSettings settings;
    settings.crop = {"60", "0", "100", "100"};
    settings.naming = {"", "", false};

    EXPECT_EQ(RunOver({dir / "a.jpg", dir / "a.jpg"}, settings), "");
    const TestJpeg::TDecoded twice = Decoded(dir / "a.jpg");
    EXPECT_EQ(twice.width, 100);
    EXPECT_FALSE(IsWhite(twice.At(20, 50)));
    EXPECT_TRUE(IsWhite(twice.At(80, 50)));
}

TEST(BatchRun, TheLaterOfTwoFilesWithOneOutputNameWins)
{
    // a.b.jpg and a.c.jpg both give a.jpg; only a.c.jpg is wide enough to fill the crop.
    TTempDir dir;
    WriteJpeg(dir / "a.b.jpg", 50, 50);
    WriteJpeg(dir / "a.c.jpg", 640, 480);
    TStandInSettings settings;

    EXPECT_EQ(RunOver({dir / "a.b.jpg", dir / "a.c.jpg"}, settings), "");
    EXPECT_FALSE(IsWhite(Decoded(dir / "a.jpg").At(80, 80)));
}

TEST(BatchRun, RelativeArgumentsStayInTheCurrentFolder)
{
    TTempDir dir;
    WriteJpeg(dir / "IMG.JPG", 64, 64);
    const std::string before = std::filesystem::current_path();
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    TStandInSettings settings;
    const std::string message = RunOver({"IMG.JPG"}, settings);
    ASSERT_EQ(chdir(before.c_str()), 0);

    EXPECT_EQ(message, "");
    EXPECT_TRUE(FileExists(dir / "IMG_x.jpg"));
}

TEST(BatchRun, WildcardsHiddenFilesAndTheProgramItself)
{
    TTempDir dir;
    WriteJpeg(dir / "b.jpg", 64, 64);
    WriteJpeg(dir / "a.jpg", 64, 64);
    WriteJpeg(dir / ".hidden.jpg", 64, 64);
    TStandInSettings settings;

    // Only the first match of a wildcard is taken; a hidden file is found like any other, and
    // its leading dot, the last one left once the suffix is on, cuts the name to ".jpg".
    EXPECT_EQ(RunOver({dir / "?.jpg", dir / ".hidden.jpg"}, settings), "");
    EXPECT_TRUE(FileExists(dir / "a_x.jpg"));
    EXPECT_FALSE(FileExists(dir / "b_x.jpg"));
    EXPECT_TRUE(FileExists(dir / ".jpg"));

    // Argument 0 is walked like the others: the program's own file is found but never
    // selected, while a JPEG given in its place would be.
    TTempDir second;
    WriteText(second / "velmora", "\x7f" "ELF");
    WriteJpeg(second / "self.jpg", 64, 64);
    RunBatch({second / "velmora"}, settings, false);
    EXPECT_EQ(FolderEntries(second.Path()), (std::vector<std::string>{"self.jpg", "velmora"}));
    RunBatch({second / "self.jpg"}, settings, false);
    EXPECT_TRUE(FileExists(second / "self_x.jpg"));
}
