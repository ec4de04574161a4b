#include "Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Errors.h"
#include "FailureOf.h"
#include "SystemFixtures.h"
#include "TestFiles.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// ---- ReadWholeFile ----

TEST(ReadWholeFileTest, ReadsEveryByteOfARegularFile)
{
    TTempDir dir;
    const std::vector<std::uint8_t> bytes = {0xFF, 0xD8, 0x00, '\r', '\n', 0x1A, 0xFF, 0xD9};
    WriteBytes(dir / "picture.jpg", bytes);
    EXPECT_EQ(ReadWholeFile(dir / "picture.jpg"), bytes);

    WriteText(dir / "empty.jpg", "");
    EXPECT_TRUE(ReadWholeFile(dir / "empty.jpg").empty());
}

TEST(ReadWholeFileTest, RefusesWhatIsNoReadableFile)
{
    TTempDir dir;
    std::filesystem::create_directory(dir / "folder.jpg");
    ASSERT_EQ(mkfifo((dir / "fifo.jpg").c_str(), 0644), 0);
    const char* const names[] = {"missing.jpg", "folder.jpg", "fifo.jpg"};
    alarm(20);  // a FIFO that blocked the open would hang the test: end it instead
    for (const char* name : names) {
        const std::string path = dir / name;
        EXPECT_EQ(FailureOf<EFOpenError>([&] { ReadWholeFile(path); }), "ファイル " + path + " は開けません")
            << name;
    }
    alarm(0);
}

TEST(ReadWholeFileTest, RefusesAFileTheUserMayNotRead)
{
    TUnprivilegedRunner runner(PLATFORM_PROBE_PATH);
    if (!runner.Available())
        GTEST_SKIP() << "needs root and setpriv to run a case as another user";
    TTempDir dir;
    chmod(dir.Path().c_str(), 0755);
    const std::string path = dir / "secret.jpg";
    WriteTextWithMode(path, "bytes", 0600);
    EXPECT_EQ(runner.Run({"read", path}).output, "ファイル " + path + " は開けません");
    chmod(path.c_str(), 0644);
    EXPECT_EQ(runner.Run({"read", path}).output, "ok 5") << "the helper itself works";
}

// ---- ReplaceFileContents ----

TEST(ReplaceFileContentsTest, CreatesANewFileWithTheUsualPermissions)
{
    TTempDir dir;
    const mode_t previousMask = umask(022);
    ReplaceFileContents(dir / "out.jpg", Bytes("new"));
    umask(previousMask);
    EXPECT_EQ(ReadText(dir / "out.jpg"), "new");
    EXPECT_EQ(PermissionBits(dir / "out.jpg"), 0644u);
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"out.jpg"});
}

TEST(ReplaceFileContentsTest, ReplacesAFileAndKeepsItsPermissionBits)
{
    const struct {
        const char* name;
        mode_t mode;
    } cases[] = {
        {"owner only", 0600},
        {"group can read", 0640},
        {"everyone can write", 0666},
        {"executable", 0755},
    };
    for (const auto& c : cases) {
        TTempDir dir;
        const std::string path = dir / "out.jpg";
        WriteTextWithMode(path, "an old and longer text", c.mode);
        ReplaceFileContents(path, Bytes("new"));
        EXPECT_EQ(ReadText(path), "new") << c.name;
        EXPECT_EQ(PermissionBits(path), c.mode) << c.name;
        EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"out.jpg"}) << c.name;
    }
}

TEST(ReplaceFileContentsTest, WritesThroughASymlink)
{
    TTempDir dir;
    std::filesystem::create_directory(dir / "real");
    WriteText(dir / "real/target.ini", "old");
    std::filesystem::create_symlink("real/target.ini", dir / "link.ini");
    ReplaceFileContents(dir / "link.ini", Bytes("new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(ReadText(dir / "real/target.ini"), "new");
    EXPECT_EQ(FolderEntries(dir / "real"), std::vector<std::string>{"target.ini"});
}

TEST(ReplaceFileContentsTest, RefusesASymlinkThatLeadsNowhere)
{
    TTempDir dir;
    std::filesystem::create_symlink("missing/target.jpg", dir / "link.jpg");
    try {
        ReplaceFileContents(dir / "link.jpg", Bytes("new"));
        FAIL() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル " + (dir / "link.jpg") + " を作成できません");
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.jpg"));
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"link.jpg"});
}

TEST(ReadWholeFileTest, RefusesAFileLargerThanAnyPictureWithoutTakingItsMemory)
{
    // A sparse file costs no disk; reading it whole would ask for 2 GiB.
    TTempDir dir;
    const std::string path = dir / "huge.jpg";
    WriteText(path, "");
    ASSERT_EQ(truncate(path.c_str(), off_t{2} << 30), 0);
    try {
        ReadWholeFile(path);
        FAIL() << "no exception";
    } catch (const EOutOfMemory& e) {
        EXPECT_STREQ(e.what(), "メモリストリームの拡大中にメモリが足りなくなりました");
    }
}

TEST(ReplaceFileContentsTest, RefusesAReadOnlyFileEvenForRootAndLeavesIt)
{
    // No write permission bit at all means read-only, also for a user who could write anyway.
    const mode_t modes[] = {0444, 0400, 0555, 0000};
    for (const mode_t mode : modes) {
        TTempDir dir;
        const std::string path = dir / "out.jpg";
        WriteTextWithMode(path, "keep me", mode);
        EXPECT_EQ(FailureOf<EFCreateError>([&] { ReplaceFileContents(path, Bytes("new")); }),
                  "ファイル " + path + " を作成できません")
            << std::oct << mode;
        chmod(path.c_str(), 0644);
        EXPECT_EQ(ReadText(path), "keep me") << std::oct << mode;
        EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"out.jpg"}) << std::oct << mode;
    }
}

TEST(ReplaceFileContentsTest, RefusesAFolderOrAMissingFolder)
{
    TTempDir dir;
    std::filesystem::create_directory(dir / "folder.jpg");
    WriteText(dir / "folder.jpg/inside", "x");
    const std::string intoFolder = dir / "folder.jpg";
    const std::string intoMissing = dir / "missing/out.jpg";
    EXPECT_EQ(FailureOf<EFCreateError>([&] { ReplaceFileContents(intoFolder, Bytes("new")); }),
              "ファイル " + intoFolder + " を作成できません");
    EXPECT_EQ(FailureOf<EFCreateError>([&] { ReplaceFileContents(intoMissing, Bytes("new")); }),
              "ファイル " + intoMissing + " を作成できません");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"folder.jpg"});
    EXPECT_EQ(FolderEntries(intoFolder), std::vector<std::string>{"inside"});
}

TEST(ReplaceFileContentsTest, RefusesWhatTheUnprivilegedUserMayNotWrite)
{
    TUnprivilegedRunner runner(PLATFORM_PROBE_PATH);
    if (!runner.Available())
        GTEST_SKIP() << "needs root and setpriv to run a case as another user";
    TTempDir dir;
    chmod(dir.Path().c_str(), 0755);
    // A folder the user may not write to, with and without the file in it.
    std::filesystem::create_directory(dir / "locked");
    WriteTextWithMode(dir / "locked/existing.jpg", "keep me", 0666);
    chmod((dir / "locked").c_str(), 0555);
    // A folder open to everyone, holding a file that belongs to another user: the user could
    // rename over it, but may not write it.
    MakeFolder(dir / "open", 0777);
    WriteTextWithMode(dir / "open/theirs.jpg", "keep me", 0644);

    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"new file in a locked folder", dir / "locked/new.jpg"},
        {"existing file in a locked folder", dir / "locked/existing.jpg"},
        {"another user's file", dir / "open/theirs.jpg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runner.Run({"replace", c.path, "new"}).output, "ファイル " + c.path + " を作成できません")
            << c.name;
    EXPECT_EQ(ReadText(dir / "locked/existing.jpg"), "keep me");
    EXPECT_EQ(ReadText(dir / "open/theirs.jpg"), "keep me");
    EXPECT_EQ(FolderEntries(dir / "locked"), std::vector<std::string>{"existing.jpg"});
    EXPECT_EQ(FolderEntries(dir / "open"), std::vector<std::string>{"theirs.jpg"});

    EXPECT_EQ(runner.Run({"replace", dir / "open/mine.jpg", "new"}).output, "ok") << "the helper itself works";
}

TEST(ReplaceFileContentsTest, AFullDiskLeavesTheOldFile)
{
    TSmallDisk disk("64k");
    if (!disk.Mounted())
        GTEST_SKIP() << "no permission to mount a small tmpfs";
    const std::string path = disk / "out.jpg";
    WriteText(path, "old contents");
    disk.FillLeaving(0);
    const std::vector<std::uint8_t> big(3 * 4096, 'n');
    EXPECT_EQ(FailureOf<EWriteError>([&] { ReplaceFileContents(path, big); }),
              "ファイル " + path + " に書き込めません");
    EXPECT_EQ(ReadText(path), "old contents");
    EXPECT_EQ(FolderEntries(disk.Path()), (std::vector<std::string>{"filler", "out.jpg"}));
}

}  // namespace
