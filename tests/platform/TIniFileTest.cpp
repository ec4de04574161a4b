#include "TIniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>


#include "Errors.h"
#include "FailureOf.h"
#include "SystemFixtures.h"
#include "TestFiles.h"

namespace {

std::string Refused(const std::string& path) { return path + " に書き込めません"; }

TEST(TIniFileReadTest, AMissingFileGivesTheFallbacksAndStaysMissing)
{
    TTempDir dir;
    const std::string path = dir / "velmora.ini";
    {
        const TIniFile ini(path);
        EXPECT_EQ(ini.FileName(), path);
        EXPECT_EQ(ini.ReadString("main", "x", "0"), "0");
        EXPECT_EQ(ini.ReadInteger("main", "left", 205), 205);
        EXPECT_TRUE(ini.ReadBool("main", "komoji", true));
        EXPECT_FALSE(ini.ReadBool("main", "komoji", false));
    }
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

TEST(TIniFileReadTest, ReadsNumbersAndFlagsByTheIntegerRule)
{
    const struct {
        const char* name;
        const char* line;  // the line under [main], or nullptr for no key
        std::int32_t number;
        bool flagWhenUnset;
        bool flagWhenSet;
    } cases[] = {
        {"decimal", "v=-40", -40, true, true},
        {"hexadecimal with 0x", "v=0x20", 32, true, true},
        {"hexadecimal with $", "v=$10", 16, true, true},
        {"zero", "v=0", 0, false, false},
        {"spaces around", "v=  7  ", 7, true, true},
        {"letters fall back", "v=abc", 99, false, true},
        {"a word falls back", "v=true", 99, false, true},
        {"empty falls back", "v=", 99, false, true},
        {"out of range falls back", "v=2147483648", 99, false, true},
        {"missing key falls back", nullptr, 99, false, true},
    };
    for (const auto& c : cases) {
        TTempDir dir;
        WriteText(dir / "a.ini", std::string("[main]\n") + (c.line ? c.line : "w=1") + "\n");
        const TIniFile ini(dir / "a.ini");
        EXPECT_EQ(ini.ReadInteger("main", "v", 99), c.number) << c.name;
        EXPECT_EQ(ini.ReadBool("main", "v", false), c.flagWhenUnset) << c.name;
        EXPECT_EQ(ini.ReadBool("main", "v", true), c.flagWhenSet) << c.name;
    }
}

TEST(TIniFileReadTest, CutsALongValueToItsFirst2047Bytes)
{
    TTempDir dir;
    const std::string value2047(2047, 'a');
    const struct {
        const char* name;
        std::string value;
        std::string read;
    } cases[] = {
        {"2047 bytes whole", value2047, value2047},
        {"2048 bytes cut", value2047 + "b", value2047},
        {"3 MB cut", value2047 + std::string(3'000'000, 'c'), value2047},
        {"quotes come off before the cut", "\"" + value2047 + "zz\"", value2047},
    };
    for (const auto& c : cases) {
        WriteText(dir / "a.ini", "[main]\nname_top=" + c.value + "\nkomoji=1\n");
        const TIniFile ini(dir / "a.ini");
        EXPECT_EQ(ini.ReadString("main", "name_top", ""), c.read) << c.name;
        EXPECT_TRUE(ini.ReadBool("main", "komoji", false)) << c.name << ": the next line";
    }
}

TEST(TIniFileReadTest, ReadsTheKeyAtTheEndOfASeveralMegabyteFile)
{
    TTempDir dir;
    std::string text = "[other]\n";
    for (int i = 0; i < 100'000; ++i)
        text += "key" + std::to_string(i) + "=some value of a few dozen bytes\n";
    text += "[main]\r\nleft=-40\r\n";
    ASSERT_GT(text.size(), 4'000'000u);
    WriteText(dir / "a.ini", text);
    EXPECT_EQ(TIniFile(dir / "a.ini").ReadInteger("main", "left", 205), -40);
}

TEST(TIniFileReadTest, ReadsAHugeFileOnlySoFar)
{
    // Past 16 MiB the file is not read on; what lies before still counts.
    TTempDir dir;
    std::string text = "[main]\nx=5\n";
    text += std::string(17 * 1024 * 1024, ';') + "\n";
    text += "[late]\nx=6\n";
    WriteText(dir / "a.ini", text);
    const TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadString("main", "x", "0"), "5");
    EXPECT_EQ(ini.ReadString("late", "x", "none"), "none");
}

TEST(TIniFileReadTest, ReadsNothingFromWhatIsNoFile)
{
    TTempDir dir;
    std::filesystem::create_directory(dir / "folder.ini");
    ASSERT_EQ(mkfifo((dir / "fifo.ini").c_str(), 0644), 0);
    alarm(20);  // a FIFO that blocked the read would hang the test: end it instead
    for (const char* name : {"folder.ini", "fifo.ini", "missing/a.ini"})
        EXPECT_EQ(TIniFile(dir / name).ReadString("main", "x", "fallback"), "fallback") << name;
    alarm(0);
}

TEST(TIniFileReadTest, AnUnreadableFileReadsAsEmpty)
{
    TUnprivilegedRunner runner(PLATFORM_PROBE_PATH);
    if (!runner.Available())
        GTEST_SKIP() << "needs root and setpriv to run a case as another user";
    TTempDir dir;
    chmod(dir.Path().c_str(), 0755);
    const std::string path = dir / "a.ini";
    WriteTextWithMode(path, "[main]\nx=5\n", 0600);
    EXPECT_EQ(runner.Run({"ini-read", path, "main", "x"}).output, "ok (none)");
    chmod(path.c_str(), 0644);
    EXPECT_EQ(runner.Run({"ini-read", path, "main", "x"}).output, "ok 5");
}

TEST(TIniFileReadTest, EveryReadLooksAtTheFileAfresh)
{
    TTempDir dir;
    const std::string path = dir / "a.ini";
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("main", "x", "none"), "none");
    WriteText(path, "[main]\nx=1\n");
    EXPECT_EQ(ini.ReadString("main", "x", "none"), "1");
    WriteText(path, "[main]\nx=2\n");
    EXPECT_EQ(ini.ReadString("main", "x", "none"), "2");
}

TEST(TIniFileWriteTest, WritesNumbersFlagsAndTextsAsLines)
{
    TTempDir dir;
    const std::string path = dir / "a.ini";
    TIniFile ini(path);
    ini.WriteInteger("main", "left", -40);
    ini.WriteInteger("main", "top", 2147483647);
    ini.WriteBool("main", "komoji", true);
    ini.WriteBool("main", "off", false);
    ini.WriteString("main", "name_top", "");
    ini.WriteString("other", "name", "写真");
    ini.WriteInteger("main", "left", 0);
    EXPECT_EQ(ReadText(path), "[main]\nleft=0\ntop=2147483647\nkomoji=1\noff=0\nname_top=\n[other]\nname=写真\n");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"a.ini"});
}

TEST(TIniFileWriteTest, AValueWithALineBreakIsWrittenCutAndAddsNoKey)
{
    TTempDir dir;
    const std::string path = dir / "a.ini";
    TIniFile ini(path);
    ini.WriteString("main", "name_top", "pre\r\n[main]\r\nleft=999");
    EXPECT_EQ(ReadText(path), "[main]\nname_top=pre\n");
    EXPECT_EQ(ini.ReadString("main", "name_top", ""), "pre");
    EXPECT_EQ(ini.ReadInteger("main", "left", 205), 205);
}

TEST(TIniFileWriteTest, ARefusedWriteLeavesTheFileAsItWas)
{
    const std::string original = "[main]\r\nleft=1\r\n";
    const struct {
        const char* name;
        mode_t mode;
    } cases[] = {
        {"read-only", 0444},
        {"no permission bits at all", 0000},
    };
    for (const auto& c : cases) {
        TTempDir dir;
        const std::string path = dir / "a.ini";
        WriteTextWithMode(path, original, c.mode);
        TIniFile ini(path);
        EXPECT_EQ(FailureOf<EIniFileException>([&] { ini.WriteInteger("main", "left", 2); }), Refused(path))
            << c.name;
        chmod(path.c_str(), 0644);
        EXPECT_EQ(ReadText(path), original) << c.name;
        EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"a.ini"}) << c.name;
    }
}

TEST(TIniFileWriteTest, RefusesWhatIsNoFile)
{
    TTempDir dir;
    std::filesystem::create_directory(dir / "folder.ini");
    ASSERT_EQ(mkfifo((dir / "fifo.ini").c_str(), 0644), 0);
    alarm(20);  // a FIFO that blocked the write would hang the test: end it instead
    for (const char* name : {"folder.ini", "fifo.ini", "missing/a.ini"}) {
        const std::string path = dir / name;
        TIniFile ini(path);
        EXPECT_EQ(FailureOf<EIniFileException>([&] { ini.WriteString("main", "x", "1"); }), Refused(path))
            << name;
    }
    alarm(0);
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"fifo.ini", "folder.ini"}));
    EXPECT_TRUE(FolderEntries(dir / "folder.ini").empty());
}

TEST(TIniFileWriteTest, RefusesAFileTooBigToReadWhole)
{
    TTempDir dir;
    const std::string path = dir / "a.ini";
    const std::string text = "[main]\nx=5\n" + std::string(17 * 1024 * 1024, ';') + "\n";
    WriteText(path, text);
    TIniFile ini(path);
    EXPECT_EQ(FailureOf<EIniFileException>([&] { ini.WriteString("main", "x", "6"); }), Refused(path));
    EXPECT_EQ(ReadText(path), text);
}

TEST(TIniFileWriteTest, RefusesWhatTheUnprivilegedUserMayNotWrite)
{
    TUnprivilegedRunner runner(PLATFORM_PROBE_PATH);
    if (!runner.Available())
        GTEST_SKIP() << "needs root and setpriv to run a case as another user";
    TTempDir dir;
    chmod(dir.Path().c_str(), 0755);
    MakeFolder(dir / "locked", 0555);
    MakeFolder(dir / "open", 0777);
    // The user may write this one but not read it, so its other lines could not be kept.
    WriteTextWithMode(dir / "open/blind.ini", "[other]\na=b\n", 0622);

    for (const std::string& path : {dir / "locked/a.ini", dir / "open/blind.ini"})
        EXPECT_EQ(runner.Run({"ini-write", path, "main", "x", "1"}).output, Refused(path)) << path;
    EXPECT_TRUE(FolderEntries(dir / "locked").empty());
    EXPECT_EQ(ReadText(dir / "open/blind.ini"), "[other]\na=b\n");

    EXPECT_EQ(runner.Run({"ini-write", dir / "open/mine.ini", "main", "x", "1"}).output, "ok")
        << "the helper itself works";
    EXPECT_EQ(ReadText(dir / "open/mine.ini"), "[main]\nx=1\n");
}

TEST(TIniFileWriteTest, AFullDiskLeavesTheOldFile)
{
    TSmallDisk disk("64k");
    if (!disk.Mounted())
        GTEST_SKIP() << "no permission to mount a small tmpfs";
    const std::string path = disk / "a.ini";
    WriteText(path, "[main]\nx=1\n");
    disk.FillLeaving(0);
    TIniFile ini(path);
    EXPECT_EQ(FailureOf<EIniFileException>([&] { ini.WriteString("main", "x", std::string(5000, 'n')); }),
              Refused(path));
    EXPECT_EQ(ReadText(path), "[main]\nx=1\n");
    EXPECT_EQ(FolderEntries(disk.Path()), (std::vector<std::string>{"a.ini", "filler"}));
}

}  // namespace
