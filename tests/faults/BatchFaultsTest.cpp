// Faults that strike one file of a batch run from outside: a disk that runs full, an output
// folder or a source that changes between the lookup and the read or the write. Each gives its
// message, naming the right file, and no file is lost, emptied or left half written.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BatchRun.h"
#include "BatchRunSupport.h"
#include "SystemFixtures.h"
#include "TestFiles.h"
#include "TestJpeg.h"

namespace {

// Stands in for the settings window, and lets a test act between the steps of one file: the
// crop texts are asked for just before the source is read, the naming settings just after the
// crop is made and before it is written. Each action runs once, at the first file.
class THookedSettings : public TCurrentSettings {
public:
    TCropTexts crop{"0", "0", "100", "100"};
    TNamingSettings naming{"_x", "", false};
    mutable std::function<void()> beforeRead;
    mutable std::function<void()> beforeWrite;

    TCropTexts CropTexts() const override
    {
        RunOnce(beforeRead);
        return crop;
    }
    TNamingSettings Naming() const override
    {
        RunOnce(beforeWrite);
        return naming;
    }

private:
    static void RunOnce(std::function<void()>& action)
    {
        if (!action)
            return;
        const std::function<void()> now = std::move(action);
        action = nullptr;
        now();
    }
};

std::vector<std::uint8_t> SmallJpeg() { return TestJpeg::MakeJpeg(TestJpeg::Color(64, 48)); }

// A picture whose crop encodes to more than 64 KB: fine ripples over every block.
std::vector<std::uint8_t> BusyJpeg()
{
    TestJpeg::TFixture fixture = TestJpeg::Color(640, 480);
    fixture.ripple = 60;
    return TestJpeg::MakeJpeg(fixture);
}

// Bytes that are no picture, so that a replaced copy cannot pass for the original.
std::vector<std::uint8_t> MarkedBytes(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
    return bytes;
}

bool Near(int actual, int expected, int tolerance) { return std::abs(actual - expected) <= tolerance; }

}  // namespace

TEST(FullDisk, AnOutputThatDoesNotFitIsReportedAndLeavesNothingBehind)
{
    const struct {
        const char* name;
        const char* mountOptions;
        std::size_t existingOutputSize;  // a file already under the output name; 0 for none
        bool fillRoom;                   // fill the disk, leaving 8 KB
        bool useUpInodes;                // leave no room for one more file
        const char* message;             // %s is the output name
        std::vector<std::string> leftOnDisk;  // besides the fillers
    } cases[] = {
        {"an empty disk smaller than the output", "size=64k", 0, false, false, "ファイル %s に書き込めません", {}},
        {"an existing output and too little room for the new one", "size=64k", 16 * 1024, true, false,
         "ファイル %s に書き込めません", {"busy_x.jpg"}},
        {"no inode left for the temporary file, an existing output", "size=1m,nr_inodes=16", 16 * 1024, false,
         true, "ファイル %s を作成できません", {"busy_x.jpg"}},
        {"no inode left for any file", "size=1m,nr_inodes=16", 0, false, true, "ファイル %s を作成できません", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        const std::vector<std::uint8_t> source = BusyJpeg();
        WriteBytes(dir / "busy.jpg", source);
        WriteBytes(dir / "next.jpg", SmallJpeg());
        const TTmpfsMount disk(dir / "disk", c.mountOptions);
        if (!disk.Mounted())
            GTEST_SKIP() << "cannot mount a tmpfs here (" << disk.Refusal() << "); needs root";
        const std::string output = dir / "disk/busy_x.jpg";
        const std::vector<std::uint8_t> existing = MarkedBytes(c.existingOutputSize);
        if (c.existingOutputSize > 0)
            WriteBytes(output, existing);
        if (c.fillRoom)
            disk.FillLeaving(8 * 1024);
        if (c.useUpInodes)
            disk.UseUpInodes();
        THookedSettings settings;
        settings.crop = {"0", "0", "640", "480"};
        settings.naming = {"_x", "disk/", false};

        std::string expected = c.message;
        expected.replace(expected.find("%s"), 2, output);
        EXPECT_EQ(RunOver({dir / "busy.jpg", dir / "next.jpg"}, settings), expected);
        EXPECT_EQ(FolderEntries(dir / "disk", false), c.leftOnDisk);
        if (c.existingOutputSize > 0) {
            EXPECT_EQ(ReadBytes(output), existing);
        }
        EXPECT_EQ(ReadBytes(dir / "busy.jpg"), source);
        EXPECT_FALSE(FileExists(dir / "disk/next_x.jpg"));
    }
}

TEST(FullDisk, TheOutputsWrittenBeforeTheDiskRanFullStay)
{
    TTempDir dir;
    const TTmpfsMount disk(dir / "disk", "size=64k");
    if (!disk.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << disk.Refusal() << "); needs root";
    WriteBytes(dir / "small.jpg", SmallJpeg());
    WriteBytes(dir / "busy.jpg", BusyJpeg());
    THookedSettings settings;
    settings.crop = {"0", "0", "640", "480"};
    settings.naming = {"_x", "disk/", false};

    EXPECT_EQ(RunOver({dir / "small.jpg", dir / "busy.jpg"}, settings),
              "ファイル " + (dir / "disk/busy_x.jpg") + " に書き込めません");
    EXPECT_EQ(FolderEntries(dir / "disk"), std::vector<std::string>{"small_x.jpg"});
    const TestJpeg::TDecoded first = TestJpeg::DecodeJpeg(ReadBytes(dir / "disk/small_x.jpg"));
    EXPECT_EQ(first.width, 640);  // the crop reaches past the small picture's edges
    EXPECT_EQ(first.height, 480);
}

TEST(FullDisk, APhotoReplacedByItsCropOnAFullCardStaysWhole)
{
    TTempDir dir;
    const TTmpfsMount card(dir / "card", "size=512k");
    if (!card.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << card.Refusal() << "); needs root";
    const std::vector<std::uint8_t> photo = BusyJpeg();
    WriteBytes(dir / "card/photo.jpg", photo);
    card.FillLeaving(4096);
    THookedSettings settings;
    settings.crop = {"0", "0", "600", "400"};
    settings.naming = {"", "", false};  // the output name is the source's own

    EXPECT_EQ(RunOver({dir / "card/photo.jpg"}, settings),
              "ファイル " + (dir / "card/photo.jpg") + " に書き込めません");
    EXPECT_EQ(ReadBytes(dir / "card/photo.jpg"), photo);
    EXPECT_EQ(FolderEntries(dir / "card"), (std::vector<std::string>{"filler", "photo.jpg"}));
}

TEST(VanishingOutputFolder, TheWriteFailsWithTheOutputNameAndCreatesNothing)
{
    namespace fs = std::filesystem;
    const std::vector<std::uint8_t> source = SmallJpeg();
    const std::vector<std::uint8_t> oldOutput = MarkedBytes(3000);
    // The sources a.jpg and b.jpg lie in photos/, with an earlier run's photos/out/a_x.jpg.
    const struct {
        const char* name;
        const char* prefix;
        std::function<void(const TTempDir&)> change;
        const char* output;  // below the test's folder
        std::function<void(const TTempDir&)> checkLeft;
    } cases[] = {
        {"the output subfolder removed", "out/", [](const TTempDir& dir) { fs::remove_all(dir / "photos/out"); },
         "photos/out/a_x.jpg",
         [&](const TTempDir& dir) {
             EXPECT_EQ(FolderEntries(dir / "photos"), (std::vector<std::string>{"a.jpg", "b.jpg"}));
         }},
        {"the output subfolder renamed away", "out/",
         [](const TTempDir& dir) { fs::rename(dir / "photos/out", dir / "moved"); }, "photos/out/a_x.jpg",
         [&](const TTempDir& dir) {
             EXPECT_EQ(FolderEntries(dir / "photos"), (std::vector<std::string>{"a.jpg", "b.jpg"}));
             EXPECT_EQ(FolderEntries(dir / "moved"), (std::vector<std::string>{"a_x.jpg"}));
             EXPECT_EQ(ReadBytes(dir / "moved/a_x.jpg"), oldOutput);
         }},
        {"the output subfolder replaced by a file", "out/",
         [](const TTempDir& dir) {
             fs::remove_all(dir / "photos/out");
             WriteText(dir / "photos/out", "a file now");
         },
         "photos/out/a_x.jpg",
         [&](const TTempDir& dir) {
             EXPECT_EQ(FolderEntries(dir / "photos"), (std::vector<std::string>{"a.jpg", "b.jpg", "out"}));
             EXPECT_EQ(ReadText(dir / "photos/out"), "a file now");
         }},
        {"the sources' own folder removed", "", [](const TTempDir& dir) { fs::remove_all(dir / "photos"); },
         "photos/a_x.jpg", [&](const TTempDir& dir) { EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        fs::create_directories(dir / "photos/out");
        WriteBytes(dir / "photos/a.jpg", source);
        WriteBytes(dir / "photos/b.jpg", source);
        WriteBytes(dir / "photos/out/a_x.jpg", oldOutput);
        THookedSettings settings;
        settings.naming.prefix = c.prefix;
        settings.beforeWrite = [&] { c.change(dir); };

        EXPECT_EQ(RunOver({dir / "photos/a.jpg", dir / "photos/b.jpg"}, settings),
                  "ファイル " + (dir / c.output) + " を作成できません");
        c.checkLeft(dir);
        if (FileExists(dir / "photos/a.jpg")) {
            EXPECT_EQ(ReadBytes(dir / "photos/a.jpg"), source);
            EXPECT_EQ(ReadBytes(dir / "photos/b.jpg"), source);
        }
    }
}

TEST(ChangingSource, ASourceThatVanishesOrShrinksBeforeTheReadGivesItsMessage)
{
    const struct {
        const char* name;
        std::function<void(const std::string& path, std::size_t size)> change;
        const char* message;  // %s is the source's joined path; "" when the crop is made
    } cases[] = {
        {"removed", [](const std::string& path, std::size_t) { std::filesystem::remove(path); },
         "ファイル %s は開けません"},
        {"replaced by a folder",
         [](const std::string& path, std::size_t) {
             std::filesystem::remove(path);
             mkdir(path.c_str(), 0755);
         },
         "ファイル %s は開けません"},
        {"replaced by a named pipe that nobody writes",
         [](const std::string& path, std::size_t) {
             std::filesystem::remove(path);
             ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
         },
         "ファイル %s は開けません"},
        {"emptied", [](const std::string& path, std::size_t) { ASSERT_EQ(truncate(path.c_str(), 0), 0); },
         "JPEG エラー #41"},
        {"cut after its first two markers, before any table",
         [](const std::string& path, std::size_t) {
             const std::size_t firstTable = TestJpeg::FindMarker(ReadBytes(path), TestJpeg::kDQT).offset;
             ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(firstTable)), 0);
         },
         "JPEG エラー #50"},
        // What is left of the scan still holds the crop's rows, and a file cut short decodes
        // without a message.
        {"cut to half its size",
         [](const std::string& path, std::size_t size) {
             ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(size / 2)), 0);
         },
         ""},
    };
    for (const bool paletteMode : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (paletteMode ? ", palette mode" : ""));
            TTempDir dir;
            const std::vector<std::uint8_t> source = TestJpeg::MakeJpeg(TestJpeg::Color(320, 240));
            const std::vector<std::uint8_t> oldOutput = MarkedBytes(2000);
            WriteBytes(dir / "a.jpg", source);
            WriteBytes(dir / "a_x.jpg", oldOutput);
            WriteBytes(dir / "b.jpg", source);
            THookedSettings settings;
            settings.beforeRead = [&] { c.change(dir / "a.jpg", source.size()); };

            std::string expected = c.message;
            if (const std::size_t at = expected.find("%s"); at != std::string::npos)
                expected.replace(at, 2, dir / "a.jpg");
            EXPECT_EQ(RunOver({dir / "a.jpg", dir / "b.jpg"}, settings, paletteMode), expected);
            if (!expected.empty()) {
                EXPECT_EQ(ReadBytes(dir / "a_x.jpg"), oldOutput);
                EXPECT_FALSE(FileExists(dir / "b_x.jpg"));
                EXPECT_EQ(ReadBytes(dir / "b.jpg"), source);
                continue;
            }
            const TestJpeg::TDecoded crop = TestJpeg::DecodeJpeg(ReadBytes(dir / "a_x.jpg"));
            EXPECT_EQ(crop.width, 100);
            EXPECT_EQ(crop.height, 100);
            const TestJpeg::TRgb probe = crop.At(40, 40);
            const TestJpeg::TRgb pattern = TestJpeg::PatternColor(40, 40);
            EXPECT_TRUE(Near(probe.red, pattern.red, 24) && Near(probe.green, pattern.green, 24) &&
                        Near(probe.blue, pattern.blue, 24))
                << probe.red << " " << probe.green << " " << probe.blue;
            EXPECT_TRUE(FileExists(dir / "b_x.jpg"));
        }
    }
}
