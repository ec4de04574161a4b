#include <gtest/gtest.h>

#include "OutputName.h"

namespace {

struct TNameCase {
    const char* name;
    const char* storedName;
    const char* suffix;
    const char* prefix;
    bool lowerCase;
    const char* output;
};

// Every source lies in /Photos; the outputs are written where the last column says.
const TNameCase kNameCases[] = {
    {"suffix", "IMG_0001.JPG", "_x", "", false, "/Photos/IMG_0001_x.jpg"},
    {"no suffix names the source", "IMG_0001.JPG", "", "", false, "/Photos/IMG_0001.jpg"},
    {"lower case of the source", "IMG_0001.jpg", "", "", true, "/Photos/img_0001.jpg"},
    {"prefix", "IMG_0001.JPG", "_x", "img", false, "/Photos/imgIMG_0001_x.jpg"},
    {"prefix and lower case", "IMG_0001.JPG", "_x", "img", true, "/Photos/imgimg_0001_x.jpg"},
    {"lower case takes suffix and prefix", "IMG_0001.JPG", "_X", "Pic", true, "/Photos/picimg_0001_x.jpg"},
    {"second dot cuts the suffix", "a.b.jpg", "_x", "", false, "/Photos/a.jpg"},
    {"second dot without suffix", "a.b.jpg", "", "", false, "/Photos/a.jpg"},
    {"second dot with prefix", "a.b.jpg", "_x", "img", false, "/Photos/imga.jpg"},
    {"second dot, prefix, lower case", "My.Pic.Jpg", "_x", "img", true, "/Photos/imgmy.jpg"},
    {"suffix that is an extension", "IMG.JPG", ".x", "", false, "/Photos/IMG.jpg"},
    {"suffix ending in a dot", "IMG.JPG", "x.", "", false, "/Photos/IMGx.jpg"},
    {"prefix with a dot", "IMG.JPG", "_x", "p.", false, "/Photos/p.jpg"},
    {"name that is only an extension", ".jpg", "_x", "", false, "/Photos/_x.jpg"},
    {"only an extension, with prefix", ".jpg", "", "p", false, "/Photos/p.jpg"},
    {"separator in the suffix", "IMG.JPG", "/x", "", false, "/Photos/IMG/x.jpg"},
    {"separator in the prefix", "IMG.JPG", "_x", "p/", true, "/Photos/p/img_x.jpg"},
    {"folder keeps its case", "IMG.JPG", "", "", true, "/Photos/img.jpg"},
    {"japanese name untouched by lower case", "写真A.JPG", "_X", "", true, "/Photos/写真a_x.jpg"},
};

}  // namespace

TEST(OutputName, FollowsTheFiveSteps)
{
    for (const TNameCase& c : kNameCases) {
        SCOPED_TRACE(c.name);
        const std::string joined = JoinedPath(std::string("/Photos/") + c.storedName, c.storedName);
        EXPECT_EQ(OutputNameFor(joined, {c.suffix, c.prefix, c.lowerCase}), c.output);
    }
}

TEST(OutputName, UnusualFolders)
{
    const struct {
        const char* name;
        const char* argument;
        const char* storedName;
        const char* joined;
        TNamingSettings naming;
        const char* output;
    } cases[] = {
        // A relative argument stays relative: its output lies beside it in the current folder.
        {"relative", "IMG.JPG", "IMG.JPG", "IMG.JPG", {"_x", "", false}, "IMG_x.jpg"},
        {"relative with prefix and lower case", "IMG.JPG", "IMG.JPG", "IMG.JPG", {"_x", "p", true}, "pimg_x.jpg"},
        {"relative in a subfolder", "sub/img.jpg", "IMG.JPG", "sub/IMG.JPG", {"_x", "", false}, "sub/IMG_x.jpg"},
        {"root folder", "/IMG.JPG", "IMG.JPG", "//IMG.JPG", {"_x", "", false}, "//IMG_x.jpg"},
        {"root folder with prefix", "/IMG.JPG", "IMG.JPG", "//IMG.JPG", {"_x", "p", false}, "///pIMG_x.jpg"},
        {"stored case wins", "/P/img_0001.jpg", "IMG_0001.JPG", "/P/IMG_0001.JPG", {"_x", "", false}, "/P/IMG_0001_x.jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string joined = JoinedPath(c.argument, c.storedName);
        EXPECT_EQ(joined, c.joined);
        EXPECT_EQ(OutputNameFor(joined, c.naming), c.output);
    }
}

TEST(OutputName, SelectsJpgInAnyLetterCase)
{
    const struct {
        const char* path;
        bool selected;
    } cases[] = {
        {"/p/x.JPG", true},      {"/p/x.Jpg", true},     {"/p/x.jpg", true},    {"/p/x.jPG", true},
        {"/p/.jpg", true},       {"/p/x.jpeg", false},   {"/p/x.jpg.txt", false}, {"/p/x.jp", false},
        {"/p/velmora", false},   {"/p.jpg/x", false},    {"/p/x", false},       {"/p/xjpg", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(IsSelectedFile(c.path), c.selected);
    }
}
