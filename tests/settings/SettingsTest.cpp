#include "Settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "Errors.h"
#include "FailureOf.h"
#include "SystemFixtures.h"
#include "TestFiles.h"

namespace {

// All nine values in the file's own words, so that a failed comparison shows every one.
std::string Describe(const TStoredSettings& s)
{
    return "left=" + std::to_string(s.left) + " top=" + std::to_string(s.top) + " x=" + s.x +
           " y=" + s.y + " xx=" + s.xx + " yy=" + s.yy + " name_bottom=" + s.nameBottom +
           " name_top=" + s.nameTop + " komoji=" + (s.komoji ? "1" : "0");
}

// The defaults of a first start, changed as the row says.
TStoredSettings DefaultsWith(const std::function<void(TStoredSettings&)>& change = {})
{
    TStoredSettings s;
    s.left = 205;
    s.top = 126;
    s.x = "0";
    s.y = "0";
    s.xx = "100";
    s.yy = "100";
    s.nameBottom = "_x";
    s.nameTop = "";
    s.komoji = false;
    if (change)
        change(s);
    return s;
}

constexpr const char* kDefaultsFile =
    "[main]\nleft=205\ntop=126\nx=0\ny=0\nxx=100\nyy=100\nname_bottom=_x\nname_top=\nkomoji=0\n";

TEST(ReadSettingsTest, ReadsEachValueOrItsDefault)
{
    const struct {
        const char* name;
        std::string text;
        TStoredSettings expected;
    } cases[] = {
        {"empty file", "", DefaultsWith()},
        {"only an empty suffix", "[main]\nname_bottom=\n", DefaultsWith([](auto& s) { s.nameBottom = ""; })},
        {"negative left", "[main]\nleft=-40\n", DefaultsWith([](auto& s) { s.left = -40; })},
        {"hexadecimal left", "[main]\nleft=0x20\n", DefaultsWith([](auto& s) { s.left = 32; })},
        {"left of letters", "[main]\nleft=abc\n", DefaultsWith()},
        {"empty left", "[main]\nleft=\n", DefaultsWith()},
        {"top with a dollar", "[main]\ntop=$10\n", DefaultsWith([](auto& s) { s.top = 16; })},
        {"komoji 1", "[main]\nkomoji=1\n", DefaultsWith([](auto& s) { s.komoji = true; })},
        {"komoji 2", "[main]\nkomoji=2\n", DefaultsWith([](auto& s) { s.komoji = true; })},
        {"komoji -1", "[main]\nkomoji=-1\n", DefaultsWith([](auto& s) { s.komoji = true; })},
        {"komoji $10", "[main]\nkomoji=$10\n", DefaultsWith([](auto& s) { s.komoji = true; })},
        {"komoji 0", "[main]\nkomoji=0\n", DefaultsWith()},
        {"komoji true", "[main]\nkomoji=true\n", DefaultsWith()},
        {"komoji yes", "[main]\nkomoji=yes\n", DefaultsWith()},
        {"komoji empty", "[main]\nkomoji=\n", DefaultsWith()},
        {"crop width longer than the field takes", "[main]\nxx=12345\n",
         DefaultsWith([](auto& s) { s.xx = "12345"; })},
        {"horizontal start of letters", "[main]\nx=abc\n", DefaultsWith([](auto& s) { s.x = "abc"; })},
        {"keys in another section", "[other]\nleft=1\nx=9\nkomoji=1\n", DefaultsWith()},
        {"every key, CRLF",
         "[main]\r\nleft=-3\r\ntop=7\r\nx=1\r\ny=2\r\nxx=30\r\nyy=40\r\nname_bottom=_s\r\nname_top=p_\r\n"
         "komoji=1\r\n",
         DefaultsWith([](auto& s) {
             s.left = -3, s.top = 7, s.x = "1", s.y = "2", s.xx = "30", s.yy = "40";
             s.nameBottom = "_s", s.nameTop = "p_", s.komoji = true;
         })},
        {"Japanese texts", "[main]\nname_bottom=_縮小\nname_top=写真_\n",
         DefaultsWith([](auto& s) { s.nameBottom = "_縮小", s.nameTop = "写真_"; })},
    };
    for (const auto& c : cases) {
        TTempDir dir;
        WriteText(dir / "velmora.ini", c.text);
        EXPECT_EQ(Describe(ReadSettingsFrom(dir / "velmora.ini", 205, 126)), Describe(c.expected)) << c.name;
    }
}

TEST(ReadSettingsTest, WithoutAFileGivesTheDefaultsAndLeavesNoFile)
{
    TTempDir dir;
    EXPECT_EQ(Describe(ReadSettingsFrom(dir / "velmora.ini", 205, 126)), Describe(DefaultsWith()));
    EXPECT_EQ(Describe(ReadSettingsFrom(dir / "velmora.ini", 10, -20)),
              Describe(DefaultsWith([](auto& s) { s.left = 10, s.top = -20; })));
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

TEST(ReadSettingsTest, AFolderInTheFilesPlaceGivesTheDefaults)
{
    TTempDir dir;
    std::filesystem::create_directory(dir / "velmora.ini");
    EXPECT_EQ(Describe(ReadSettingsFrom(dir / "velmora.ini", 205, 126)), Describe(DefaultsWith()));
}

TEST(ReadSettingsTest, ReadsABigFileWithVeryLongLines)
{
    TTempDir dir;
    std::string text = "; " + std::string(2'000'000, '#') + "\n[other]\n";
    for (int i = 0; i < 50'000; ++i)
        text += "k" + std::to_string(i) + "=" + std::string(40, 'v') + "\n";
    text += "[main]\nname_top=" + std::string(1'000'000, 'p') + "\nkomoji=1\nleft=-5\n";
    WriteText(dir / "velmora.ini", text);
    const TStoredSettings read = ReadSettingsFrom(dir / "velmora.ini", 205, 126);
    EXPECT_EQ(read.nameTop, std::string(2047, 'p'));
    EXPECT_TRUE(read.komoji);
    EXPECT_EQ(read.left, -5);
    EXPECT_EQ(read.nameBottom, "_x");
}

TEST(WriteSettingsTest, SavesTheDefaultsAsTenLines)
{
    TTempDir dir;
    WriteSettingsTo(dir / "velmora.ini", DefaultsWith());
    EXPECT_EQ(ReadText(dir / "velmora.ini"), kDefaultsFile);
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"velmora.ini"});
}

TEST(WriteSettingsTest, ASaveAndARestartGiveBackEveryValue)
{
    const TStoredSettings cases[] = {
        DefaultsWith(),
        DefaultsWith([](auto& s) {
            s.left = -40, s.top = -2147483647 - 1, s.x = "abc", s.y = "$1F", s.xx = "12345", s.yy = "0";
            s.nameBottom = "", s.nameTop = "", s.komoji = true;
        }),
        DefaultsWith([](auto& s) {
            s.left = 2147483647, s.top = 0, s.nameBottom = "_縮小版", s.nameTop = "写真_", s.komoji = true;
        }),
        DefaultsWith([](auto& s) { s.nameBottom = "a=b;c", s.nameTop = "[main]"; }),
    };
    for (const TStoredSettings& saved : cases) {
        TTempDir dir;
        WriteSettingsTo(dir / "velmora.ini", saved);
        EXPECT_EQ(Describe(ReadSettingsFrom(dir / "velmora.ini", 1, 1)), Describe(saved));
    }
}

TEST(WriteSettingsTest, AnEmptyPrefixLeavesItsKey)
{
    TTempDir dir;
    WriteText(dir / "velmora.ini", "[main]\nname_top=pre_\n");
    WriteSettingsTo(dir / "velmora.ini", DefaultsWith());
    EXPECT_NE(ReadText(dir / "velmora.ini").find("\nname_top=\n"), std::string::npos);
    EXPECT_EQ(ReadSettingsFrom(dir / "velmora.ini", 205, 126).nameTop, "");
}

TEST(WriteSettingsTest, KeepsEverythingElseInTheFileAndWritesAllNineKeys)
{
    // The keys that are there are spelled so that they read as the saved values; a save that
    // skipped an unchanged key would leave its spelling.
    TTempDir dir;
    WriteText(dir / "velmora.ini",
              "; my notes\n"
              "\n"
              "[window]\n"
              "left=1\n"
              "\n"
              "[main]\n"
              "LEFT = 0xCD\n"
              "; the crop\n"
              "x = 0\n"
              "extra=keep me\n"
              "komoji=2\n"
              "\n"
              "[last]\n"
              "a=b\n");
    WriteSettingsTo(dir / "velmora.ini", DefaultsWith([](auto& s) { s.komoji = true; }));
    EXPECT_EQ(ReadText(dir / "velmora.ini"),
              "; my notes\n"
              "\n"
              "[window]\n"
              "left=1\n"
              "\n"
              "[main]\n"
              "LEFT=205\n"
              "; the crop\n"
              "x=0\n"
              "extra=keep me\n"
              "komoji=1\n"
              "top=126\n"
              "y=0\n"
              "xx=100\n"
              "yy=100\n"
              "name_bottom=_x\n"
              "name_top=\n"
              "\n"
              "[last]\n"
              "a=b\n");
}

TEST(WriteSettingsTest, ACrlfFileStaysCrlf)
{
    TTempDir dir;
    WriteText(dir / "velmora.ini", "[other]\r\na=b\r\n[main]\r\nleft=1\r\n");
    WriteSettingsTo(dir / "velmora.ini", DefaultsWith());
    EXPECT_EQ(ReadText(dir / "velmora.ini"),
              "[other]\r\na=b\r\n[main]\r\nleft=205\r\ntop=126\r\nx=0\r\ny=0\r\nxx=100\r\nyy=100\r\n"
              "name_bottom=_x\r\nname_top=\r\nkomoji=0\r\n");
}

TEST(WriteSettingsTest, ATextWithALineBreakIsSavedUpToIt)
{
    TTempDir dir;
    WriteSettingsTo(dir / "velmora.ini", DefaultsWith([](auto& s) { s.nameTop = "pre_\n[main]\nleft=999"; }));
    EXPECT_EQ(ReadText(dir / "velmora.ini"),
              "[main]\nleft=205\ntop=126\nx=0\ny=0\nxx=100\nyy=100\nname_bottom=_x\nname_top=pre_\nkomoji=0\n");
}

TEST(WriteSettingsTest, ARefusedSaveNamesTheFileAndChangesNothing)
{
    const struct {
        const char* name;
        mode_t mode;
    } cases[] = {
        {"read-only file", 0444},
        {"file without any permission bits", 0000},
    };
    const std::string original = "[main]\nleft=1\n";
    for (const auto& c : cases) {
        TTempDir dir;
        const std::string path = dir / "velmora.ini";
        WriteTextWithMode(path, original, c.mode);
        EXPECT_EQ(FailureOf<EIniFileException>([&] { WriteSettingsTo(path, DefaultsWith()); }),
                  path + " に書き込めません")
            << c.name;
        chmod(path.c_str(), 0644);
        EXPECT_EQ(ReadText(path), original) << c.name;
        EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"velmora.ini"}) << c.name;
    }
}

TEST(WriteSettingsTest, AFolderInTheFilesPlaceIsRefused)
{
    TTempDir dir;
    const std::string path = dir / "velmora.ini";
    std::filesystem::create_directory(path);
    EXPECT_EQ(FailureOf<EIniFileException>([&] { WriteSettingsTo(path, DefaultsWith()); }),
              path + " に書き込めません");
    EXPECT_TRUE(FolderEntries(path).empty());
}

TEST(WriteSettingsTest, AnUnprivilegedUserIsRefused)
{
    TUnprivilegedRunner runner(SETTINGS_PROBE_PATH);
    if (!runner.Available())
        GTEST_SKIP() << "needs root and setpriv to run a case as another user";
    TTempDir dir;
    chmod(dir.Path().c_str(), 0755);
    MakeFolder(dir / "locked", 0555);
    MakeFolder(dir / "open", 0777);
    WriteTextWithMode(dir / "open/velmora.ini", "[main]\nleft=1\n", 0444);

    const std::string inLocked = dir / "locked/velmora.ini";
    const std::string readOnly = dir / "open/velmora.ini";
    EXPECT_EQ(runner.Run({inLocked}).output, inLocked + " に書き込めません");
    EXPECT_EQ(runner.Run({readOnly}).output, readOnly + " に書き込めません");
    EXPECT_TRUE(FolderEntries(dir / "locked").empty());
    EXPECT_EQ(ReadText(readOnly), "[main]\nleft=1\n");
    EXPECT_EQ(FolderEntries(dir / "open"), std::vector<std::string>{"velmora.ini"});

    const std::string own = dir / "open/own.ini";
    EXPECT_EQ(runner.Run({own}).output, "ok") << "the helper itself works";
    EXPECT_EQ(ReadText(own), kDefaultsFile);
}

TEST(WriteSettingsTest, AFullDiskStopsTheSaveAndKeepsTheKeysBeforeIt)
{
    TSmallDisk disk("64k");
    if (!disk.Mounted())
        GTEST_SKIP() << "no permission to mount a small tmpfs";
    // Two free pages: room for a one-page file and its one-page successor, but not for the
    // two-page file that the long suffix makes.
    disk.FillLeaving(2 * 4096);
    const std::string path = disk / "velmora.ini";
    const TStoredSettings saved = DefaultsWith([](auto& s) {
        s.left = 1, s.top = 2, s.x = "3", s.y = "4", s.xx = "5", s.yy = "6";
        s.nameBottom = std::string(5000, 's');
    });
    EXPECT_EQ(FailureOf<EIniFileException>([&] { WriteSettingsTo(path, saved); }), path + " に書き込めません");
    EXPECT_EQ(ReadText(path), "[main]\nleft=1\ntop=2\nx=3\ny=4\nxx=5\nyy=6\n");
    EXPECT_EQ(FolderEntries(disk.Path()), (std::vector<std::string>{"filler", "velmora.ini"}));
}

TEST(SettingsFileTest, LivesBesideTheProgramWhateverTheCurrentFolder)
{
    const std::string beside = std::filesystem::canonical(TEST_PROGRAM_FOLDER).string() + "/velmora.ini";
    EXPECT_EQ(SettingsFilePath(), beside);
    TTempDir elsewhere;
    TCurrentFolder inside(elsewhere.Path());
    EXPECT_EQ(SettingsFilePath(), beside);
}

// The only test that touches the file beside the test program.
TEST(SettingsFileTest, ReadAndWriteUseTheFileBesideTheProgram)
{
    const std::string beside = std::filesystem::canonical(TEST_PROGRAM_FOLDER).string() + "/velmora.ini";
    struct TRemoveAfterwards {
        std::string path;
        ~TRemoveAfterwards() { std::filesystem::remove(path); }
    } removeAfterwards{beside};
    std::filesystem::remove(beside);

    TTempDir elsewhere;
    TCurrentFolder inside(elsewhere.Path());
    EXPECT_EQ(Describe(ReadSettings(205, 126)), Describe(DefaultsWith()));
    EXPECT_FALSE(FileExists(beside));
    const TStoredSettings saved = DefaultsWith([](auto& s) { s.left = 7, s.nameTop = "p_"; });
    WriteSettings(saved);
    EXPECT_EQ(Describe(ReadSettingsFrom(beside, 0, 0)), Describe(saved));
    EXPECT_EQ(Describe(ReadSettings(205, 126)), Describe(saved));
    EXPECT_TRUE(FolderEntries(elsewhere.Path()).empty());
}

}  // namespace
