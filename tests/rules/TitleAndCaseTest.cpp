#include <gtest/gtest.h>

#include "AppTitle.h"
#include "LetterCase.h"

TEST(ApplicationTitle, FromTheProgramFileName)
{
    const struct {
        const char* name;
        const char* path;
        const char* title;
    } cases[] = {
        {"upper case exe", "/opt/VELMORA.EXE", "Velmora"},
        {"lower case exe", "/opt/velmora.exe", "velmora"},
        {"two dots", "/opt/velmora.new.exe", "velmora"},
        {"no extension", "/home/u/.local/lib/velmora/velmora", "velmora"},
        {"mixed case", "/x/VelMORA", "Velmora"},
        {"dot in folder only", "/a.b/Prog", "Prog"},
        {"japanese first character kept", "/x/写ABC", "写abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ApplicationTitle(c.path), c.title);
    }
}

TEST(LetterCase, OnlyAsciiLettersChange)
{
    EXPECT_EQ(LowerCaseAscii("IMG_0001.JPG"), "img_0001.jpg");
    EXPECT_EQ(UpperCaseAscii("img_0001.jpg"), "IMG_0001.JPG");
    EXPECT_EQ(LowerCaseAscii("ÄÖ写真ＡＢ"), "ÄÖ写真ＡＢ");
    EXPECT_EQ(UpperCaseAscii("äö写真ａｂ[]`{}"), "äö写真ａｂ[]`{}");
}
