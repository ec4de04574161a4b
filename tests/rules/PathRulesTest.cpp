#include <gtest/gtest.h>

#include "PathRules.h"

namespace {

struct TPathCase {
    const char* name;
    const char* path;
    const char* folder;
    const char* namePart;
    const char* extension;
};

const TPathCase kPathCases[] = {
    {"file in folder", "/a/b.jpg", "/a", "b.jpg", ".jpg"},
    {"file in root", "/b.jpg", "/", "b.jpg", ".jpg"},
    {"no separator", "b.jpg", "", "b.jpg", ".jpg"},
    {"two dots", "/p/a.b.JPG", "/p", "a.b.JPG", ".JPG"},
    {"only an extension", "/p/.jpg", "/p", ".jpg", ".jpg"},
    {"dot in folder only", "/p.q/name", "/p.q", "name", ""},
    {"no extension", "/p/name", "/p", "name", ""},
    {"trailing separator", "/p/q/", "/p/q", "", ""},
    {"double separator kept", "/p//b.jpg", "/p//", "b.jpg", ".jpg"},
    {"relative folder", "p/b.jpg", "p", "b.jpg", ".jpg"},
    {"root alone", "/", "/", "", ""},
    {"empty", "", "", "", ""},
    {"japanese name", "/写真/画像.JPG", "/写真", "画像.JPG", ".JPG"},
    {"trailing dot", "/p/a.", "/p", "a.", "."},
};

}  // namespace

TEST(PathRules, FolderNameAndExtension)
{
    for (const TPathCase& c : kPathCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FolderPart(c.path), c.folder);
        EXPECT_EQ(NamePart(c.path), c.namePart);
        EXPECT_EQ(Extension(c.path), c.extension);
    }
}

TEST(PathRules, ChangeExtension)
{
    const struct {
        const char* name;
        const char* path;
        const char* extension;
        const char* result;
    } cases[] = {
        {"replace", "/p/a.JPG", ".jpg", "/p/a.jpg"},
        {"remove", "/p/a.b.jpg", "", "/p/a.b"},
        {"add", "/p/a", ".jpg", "/p/a.jpg"},
        {"dot in folder untouched", "/p.q/a", ".jpg", "/p.q/a.jpg"},
        {"only an extension", "/p/.jpg", "", "/p/"},
        {"no extension, empty new", "/p/a", "", "/p/a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ChangeExtension(c.path, c.extension), c.result);
    }
}

TEST(PathRules, JoinNeverChecksForASeparator)
{
    EXPECT_EQ(JoinPath("/p", "a.jpg"), "/p/a.jpg");
    EXPECT_EQ(JoinPath("/", "a.jpg"), "//a.jpg");
    EXPECT_EQ(JoinPath("", "a.jpg"), "/a.jpg");
}

TEST(PathRules, MultiByteCharactersAreTakenWhole)
{
    const TPathStyle& style = PosixPathStyle();
    EXPECT_EQ(style.CharLength("写", 0), 3u);
    EXPECT_EQ(style.CharLength("é", 0), 2u);
    EXPECT_EQ(style.CharLength("\xF0\x9F\x93\xB7", 0), 4u);
    // A broken sequence is one character per byte, so nothing is lost or skipped.
    EXPECT_EQ(style.CharLength("\xE5/", 0), 1u);
    EXPECT_EQ(NamePart("/p/\xE5/x.jpg"), "x.jpg");
}
