#include "IniText.h"

#include <gtest/gtest.h>

namespace {

TEST(IniTextTest, FindsTheValueOfAKeyInItsSection)
{
    const struct {
        const char* name;
        std::string text;
        const char* section;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"plain form", "[main]\nleft=205\ntop=126\n", "main", "top", "126"},
        {"CRLF line ends", "[main]\r\nleft=205\r\ntop=126\r\n", "main", "left", "205"},
        {"last line without line end", "[main]\nleft=205", "main", "left", "205"},
        {"empty value is a value", "[main]\nname_bottom=\n", "main", "name_bottom", ""},
        {"empty value at CRLF", "[main]\r\nname_bottom=\r\n", "main", "name_bottom", ""},
        {"missing key", "[main]\nleft=205\n", "main", "top", std::nullopt},
        {"missing section", "[other]\nleft=205\n", "main", "left", std::nullopt},
        {"empty text", "", "main", "left", std::nullopt},
        {"key of another section", "[main]\nx=1\n[other]\nleft=7\n", "main", "left", std::nullopt},
        {"section after another", "[other]\nleft=7\n[main]\nleft=9\n", "main", "left", "9"},
        {"key before any section", "left=7\n[main]\n", "main", "left", std::nullopt},
        {"section name in other case", "[MAIN]\nleft=5\n", "main", "left", "5"},
        {"key name in other case", "[main]\nLeft=5\n", "main", "left", "5"},
        {"only ASCII letters fold", "[main]\nnäme=5\n", "main", "nÄme", std::nullopt},
        {"spaces around names and value", "  [ main ]  \n  left  =  5  \n", "main", "left", "5"},
        {"tabs around the value", "[main]\nleft=\t5\t\n", "main", "left", "5"},
        {"spaces inside a value stay", "[main]\nname_top=a  b\n", "main", "name_top", "a  b"},
        {"double quotes are taken off", "[main]\nname_top=\" a \"\n", "main", "name_top", " a "},
        {"single quotes are taken off", "[main]\nname_top='b'\n", "main", "name_top", "b"},
        {"unmatched quotes stay", "[main]\nname_top=\"b'\n", "main", "name_top", "\"b'"},
        {"a lone quote stays", "[main]\nname_top=\"\n", "main", "name_top", "\""},
        {"only the outer pair goes", "[main]\nname_top=\"\"b\"\"\n", "main", "name_top", "\"b\""},
        {"comment line", "[main]\n;left=1\nleft=2\n", "main", "left", "2"},
        {"indented comment line", "[main]\n  ; left=1\n", "main", "left", std::nullopt},
        {"semicolon inside a value", "[main]\nname_top=a;b\n", "main", "name_top", "a;b"},
        {"equals sign inside a value", "[main]\nname_top=a=b\n", "main", "name_top", "a=b"},
        {"line without equals sign", "[main]\nleft\n", "main", "left", std::nullopt},
        {"first key of a name counts", "[main]\nleft=1\nleft=2\n", "main", "left", "1"},
        {"first section of a name counts", "[main]\nx=1\n[main]\nleft=2\n", "main", "left", std::nullopt},
        {"section line with text after it", "[main] ; settings\nleft=3\n", "main", "left", "3"},
        {"unclosed bracket opens no section", "[main]\n[other\nleft=4\n", "main", "left", "4"},
        {"UTF-8 mark before the first line", "\xEF\xBB\xBF[main]\nleft=6\n", "main", "left", "6"},
        {"Japanese value", "[main]\nname_top=写真_\n", "main", "name_top", "写真_"},
        {"blank lines between", "\n\n[main]\n\n\nleft=8\n\n", "main", "left", "8"},
        {"a value ends at a NUL byte", std::string("[main]\nx=a\0b\n", 13), "main", "x", "a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindIniValue(c.text, c.section, c.key), c.value) << c.name;
}

TEST(IniTextTest, SingleLineValueEndsAtTheFirstLineBreakOrNul)
{
    const struct {
        const char* name;
        std::string value;
        std::string stored;
    } cases[] = {
        {"plain", "_x", "_x"},
        {"empty", "", ""},
        {"LF", "a\nb", "a"},
        {"CR", "a\rb", "a"},
        {"CR LF", "a\r\n[evil]\r\nleft=1", "a"},
        {"NUL", std::string("a\0b", 3), "a"},
        {"line break first", "\nleft=1", ""},
        {"spaces and quotes stay", " \"a\" ", " \"a\" "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SingleLineValue(c.value), c.stored) << c.name;
}

TEST(IniTextTest, SetsOneKeyAndLeavesEveryOtherLine)
{
    const struct {
        const char* name;
        std::string text;
        const char* key;
        std::string value;
        std::string result;
    } cases[] = {
        {"new text", "", "left", "205", "[main]\nleft=205\n"},
        {"replaces a value", "[main]\nleft=1\ntop=2\n", "left", "205", "[main]\nleft=205\ntop=2\n"},
        {"replaces an empty value", "[main]\nname_top=\nkomoji=0\n", "name_top", "p_",
         "[main]\nname_top=p_\nkomoji=0\n"},
        {"stores an empty value", "[main]\nname_top=p_\n", "name_top", "", "[main]\nname_top=\n"},
        {"adds a key after the last key", "[main]\nleft=1\n\n[other]\na=b\n", "top", "126",
         "[main]\nleft=1\ntop=126\n\n[other]\na=b\n"},
        {"adds a key to an empty section", "[main]\n\n; about other\n[other]\n", "left", "1",
         "[main]\nleft=1\n\n; about other\n[other]\n"},
        {"adds a key after a last line without line end", "[main]\nleft=1", "top", "2",
         "[main]\nleft=1\ntop=2\n"},
        {"adds a key after a lone section line", "[main]", "left", "1", "[main]\nleft=1\n"},
        {"adds the section at the end", "; mine\n[other]\na=b\n", "left", "1",
         "; mine\n[other]\na=b\n[main]\nleft=1\n"},
        {"adds the section after a last line without line end", "[other]\na=b", "left", "1",
         "[other]\na=b\n[main]\nleft=1\n"},
        {"keeps CRLF when replacing", "[main]\r\nleft=1\r\ntop=2\r\n", "left", "205",
         "[main]\r\nleft=205\r\ntop=2\r\n"},
        {"keeps CRLF when adding a key", "[main]\r\nleft=1\r\n", "top", "2", "[main]\r\nleft=1\r\ntop=2\r\n"},
        {"keeps CRLF when adding the section", "[other]\r\na=b\r\n", "left", "1",
         "[other]\r\na=b\r\n[main]\r\nleft=1\r\n"},
        {"keeps the spelling and indent of a key", "[MAIN]\n  Left = 1 \n", "left", "205", "[MAIN]\n  Left=205\n"},
        {"replaces only the first key of a name", "[main]\nleft=1\nleft=2\n", "left", "9",
         "[main]\nleft=9\nleft=2\n"},
        {"adds to the first section of a name", "[main]\nx=1\n[main]\nleft=2\n", "left", "9",
         "[main]\nx=1\nleft=9\n[main]\nleft=2\n"},
        {"a commented key is no key", "[main]\n;left=1\n", "left", "9", "[main]\nleft=9\n;left=1\n"},
        {"a key of another section is not touched", "[other]\nleft=1\n[main]\ntop=2\n", "left", "9",
         "[other]\nleft=1\n[main]\ntop=2\nleft=9\n"},
        {"keeps the UTF-8 mark", "\xEF\xBB\xBF[main]\nleft=1\n", "left", "9", "\xEF\xBB\xBF[main]\nleft=9\n"},
        {"stores spaces and quotes as given", "[main]\nname_top=a\n", "name_top", " \"q\" ",
         "[main]\nname_top= \"q\" \n"},
        {"a line break cannot add lines", "[main]\nname_top=a\n", "name_top", "b\n[evil]\nleft=1",
         "[main]\nname_top=b\n"},
        {"a CR cannot add lines", "[main]\r\nname_top=a\r\n", "name_top", "b\r\nleft=1",
         "[main]\r\nname_top=b\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SetIniValue(c.text, "main", c.key, c.value), c.result) << c.name;
}

TEST(IniTextTest, KeepsAMixOfLinesByteForByte)
{
    // Everything a hand-edited file may hold, in an order that a rewrite would disturb.
    const std::string text =
        "; velmora settings\r\n"
        "\r\n"
        "[window]\r\n"
        "Left = 99\r\n"
        "\r\n"
        "[main]\r\n"
        "; crop\r\n"
        "x = 10\r\n"
        "  junk line\r\n"
        "name_top=\"pre\"\r\n"
        "\r\n"
        "[zzz]\r\n"
        "x=1";
    const std::string afterX = SetIniValue(text, "main", "x", "20");
    EXPECT_EQ(afterX,
              "; velmora settings\r\n\r\n[window]\r\nLeft = 99\r\n\r\n[main]\r\n; crop\r\n"
              "x=20\r\n  junk line\r\nname_top=\"pre\"\r\n\r\n[zzz]\r\nx=1");
    EXPECT_EQ(SetIniValue(afterX, "main", "left", "5"),
              "; velmora settings\r\n\r\n[window]\r\nLeft = 99\r\n\r\n[main]\r\n; crop\r\n"
              "x=20\r\n  junk line\r\nname_top=\"pre\"\r\nleft=5\r\n\r\n[zzz]\r\nx=1");
}

}  // namespace
