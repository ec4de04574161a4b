#include "FileSearch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "SystemFixtures.h"
#include "TestFiles.h"

namespace {

// A folder with files whose names test the search's choices. The files are made in reverse
// name order, so that name order and creation order differ.
class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"写真.JPG", "c3.txt", "c2.txt", "c1.txt", "b[1].txt", "b1.txt",
                                 "b.txt", "a.txt", ".hidden", "back\\slash.txt", "q?.txt", "q1.txt"})
            WriteText(dir / name, "x");
        std::filesystem::create_directory(dir / "sub");
        WriteText(dir / "sub/inner.jpg", "x");
        std::filesystem::create_symlink("a.txt", dir / "link");
        std::filesystem::create_symlink("nowhere.txt", dir / "dangling");
        std::filesystem::create_directory_symlink("sub", dir / "linked-sub");
        std::filesystem::create_hard_link(dir / "a.txt", dir / "hard.txt");
    }

    TTempDir dir;
};

TEST_F(FileSearchTest, GivesTheStoredNameOfTheFirstMatch)
{
    const struct {
        const char* name;
        std::string path;
        std::optional<std::string> stored;
    } cases[] = {
        {"exact name", dir / "b.txt", "b.txt"},
        {"star: first in name order", dir / "c*.txt", "c1.txt"},
        {"question mark: first in name order", dir / "c?.txt", "c1.txt"},
        {"question mark is one character", dir / "?.txt", "a.txt"},
        {"star matches hidden names too", dir / "*", ".hidden"},
        {"hidden file by name", dir / ".hidden", ".hidden"},
        {"Japanese name", dir / "写真.JPG", "写真.JPG"},
        {"wildcard after a Japanese character", dir / "写*", "写真.JPG"},
        {"brackets are plain characters", dir / "b[1]*", "b[1].txt"},
        {"backslash is a plain character", dir / "back\\*", "back\\slash.txt"},
        {"a real name with a wildcard in it is that file", dir / "q?.txt", "q?.txt"},
        {"patterns ignore letter case", dir / "C*.TXT", "c1.txt"},
        {"a folder gives its own name", dir / "sub", "sub"},
        {"file inside a subfolder", dir / "sub/inner.jpg", "inner.jpg"},
        {"wildcard inside a subfolder", dir / "sub/*.jpg", "inner.jpg"},
        {"through a linked folder", dir / "linked-sub/inner.jpg", "inner.jpg"},
        {"a symlink gives its own name", dir / "link", "link"},
        {"a dangling symlink is still an entry", dir / "dangling", "dangling"},
        {"a hard link is found as spelled", dir / "hard.txt", "hard.txt"},
        {"missing file", dir / "missing.txt", std::nullopt},
        {"wildcard without a match", dir / "*.png", std::nullopt},
        {"wildcard in a missing folder", dir / "nofolder/*.txt", std::nullopt},
        {"other letter case on a case-sensitive disk", dir / "B.TXT", std::nullopt},
        {"trailing separator", dir / "sub/", std::nullopt},
        {"root folder", "/", std::nullopt},
        {"empty path", "", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindStoredName(c.path), c.stored) << c.name << ": " << c.path;
}

TEST_F(FileSearchTest, SearchesTheCurrentFolderForARelativeName)
{
    TCurrentFolder inside(dir.Path());
    EXPECT_EQ(FindStoredName("b.txt"), "b.txt");
    EXPECT_EQ(FindStoredName("c*.txt"), "c1.txt");
    EXPECT_EQ(FindStoredName("sub/inner.jpg"), "inner.jpg");
    EXPECT_EQ(FindStoredName("missing.txt"), std::nullopt);
}

}  // namespace
