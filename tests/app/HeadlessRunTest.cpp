// velmora as a program started without any display: from a shell, over ssh, in a script.
#include <gtest/gtest.h>

#include "Messages.h"
#include "ProgramRun.h"
#include "TestJpeg.h"

namespace {

void WritePicture(const std::string& path, int width, int height)
{
    WriteBytes(path, TestJpeg::MakeJpeg(TestJpeg::Color(width, height)));
}

}  // namespace

TEST(HeadlessRun, WithoutFilesItSaysTheWindowNeedsADisplayAndEndsWithStatus2)
{
    TTempDir dir;
    const std::string program = CopyOfProgram(dir);
    const TRunResult run = RunToEnd(dir, {program}, Headless());
    EXPECT_EQ(run.Status(), 2);
    EXPECT_EQ(run.err, "velmora: " + Messages::NeedsDisplay() + "\n");
    EXPECT_FALSE(FileExists(dir / "velmora.ini"));
}

TEST(HeadlessRun, ABatchRunCropsWithTheStoredSettingsAndEndsQuietlyWithStatus0)
{
    TTempDir dir;
    const std::string program = CopyOfProgram(dir);
    WriteText(dir / "velmora.ini", "[main]\nx=8\ny=4\nxx=24\nyy=16\nname_bottom=_c\nkomoji=1\n");
    WritePicture(dir / "Photo.JPG", 64, 48);
    WriteText(dir / "readme.txt", "not a picture");
    const TRunResult run = RunToEnd(dir, {program, dir / "Photo.JPG", dir / "readme.txt"}, Headless());
    EXPECT_EQ(run.Status(), 0);
    EXPECT_EQ(run.err, "");
    const TestJpeg::TDecoded crop = TestJpeg::DecodeJpeg(ReadBytes(dir / "photo_c.jpg"));
    EXPECT_EQ(crop.width, 24);
    EXPECT_EQ(crop.height, 16);
    EXPECT_FALSE(FileExists(dir / "readme_c.jpg"));
}

TEST(HeadlessRun, AFailureIsOneLineOnStderrAndStatus1AfterTheFilesBeforeIt)
{
    TTempDir dir;
    const std::string program = CopyOfProgram(dir);
    WritePicture(dir / "a.jpg", 32, 32);
    WriteText(dir / "b.jpg", "");
    WritePicture(dir / "c.jpg", 32, 32);
    const TRunResult run =
        RunToEnd(dir, {program, dir / "a.jpg", dir / "b.jpg", dir / "c.jpg"}, Headless());
    EXPECT_EQ(run.Status(), 1);
    // An empty file: the library's message code 41.
    EXPECT_EQ(run.err, "velmora: JPEG エラー #41.\n");
    EXPECT_TRUE(FileExists(dir / "a_x.jpg"));
    EXPECT_FALSE(FileExists(dir / "c_x.jpg"));
}

TEST(HeadlessRun, OnlyFilesThatAreNoPicturesEndWithStatus0AndWriteNothing)
{
    TTempDir dir;
    const std::string program = CopyOfProgram(dir);
    WriteText(dir / "notes.txt", "text");
    const TRunResult run = RunToEnd(dir, {program, dir / "notes.txt", dir / "missing.jpg"}, Headless());
    EXPECT_EQ(run.Status(), 0);
    EXPECT_EQ(run.err, "");
    EXPECT_FALSE(FileExists(dir / "notes_x.jpg"));
    EXPECT_FALSE(FileExists(dir / "velmora.ini"));
}

TEST(HeadlessRun, AnUnreachableXServerCountsAsNoDisplay)
{
    TTempDir dir;
    const std::string program = CopyOfProgram(dir);
    TEnvironment environment = Headless();
    environment.set.emplace_back("DISPLAY", ":987");
    const TRunResult run = RunToEnd(dir, {program}, environment);
    EXPECT_EQ(run.Status(), 2);
    EXPECT_EQ(run.err, "velmora: " + Messages::NeedsDisplay() + "\n");
}
