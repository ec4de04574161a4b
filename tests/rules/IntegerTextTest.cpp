#include <gtest/gtest.h>

#include "Errors.h"
#include "IntegerText.h"

namespace {

struct TIntegerCase {
    const char* name;
    const char* text;
    bool ok;
    std::int32_t value;
};

const TIntegerCase kIntegerCases[] = {
    {"plain", "12", true, 12},
    {"zero", "0", true, 0},
    {"minus zero", "-0", true, 0},
    {"plus sign", "+7", true, 7},
    {"leading zeros", "007", true, 7},
    {"leading spaces", "  100", true, 100},
    {"negative", "-5", true, -5},
    {"largest", "2147483647", true, 2147483647},
    {"smallest", "-2147483648", true, INT32_MIN},
    {"too large", "2147483648", false, 0},
    {"too small", "-2147483649", false, 0},
    {"many leading zeros", "000000000000002048", true, 2048},
    {"hex with dollar", "$800", true, 2048},
    {"hex with x", "x1F", true, 31},
    {"hex with X", "X1f", true, 31},
    {"hex with 0x", "0x20", true, 32},
    {"hex with 0X", "0Xff", true, 255},
    {"hex read as signed", "$FFFFFFFF", true, -1},
    {"hex sign ignored", "-$10", true, 16},
    {"hex plus sign", "+$10", true, 16},
    {"hex high bit", "$80000000", true, INT32_MIN},
    {"hex past 32 bits", "$100000000", false, 0},
    {"hex leading zeros fit", "$000000001", true, 1},
    {"hex after spaces", " $10", true, 16},
    {"dollar alone", "$", false, 0},
    {"0x alone", "0x", false, 0},
    {"hex bad digit", "$1G", false, 0},
    {"empty", "", false, 0},
    {"spaces only", "   ", false, 0},
    {"lone minus", "-", false, 0},
    {"lone plus", "+", false, 0},
    {"two signs", "+-1", false, 0},
    {"trailing space", "100 ", false, 0},
    {"space after sign", "- 1", false, 0},
    {"exponent", "1e3", false, 0},
    {"letters", "abc", false, 0},
    {"tab in front", "\t1", false, 0},
    {"full-width digit", "\xEF\xBC\x91", false, 0},
    {"decimal point", "1.0", false, 0},
};

}  // namespace

TEST(IntegerText, ParsesByTheRule)
{
    for (const TIntegerCase& c : kIntegerCases) {
        SCOPED_TRACE(c.name);
        const std::optional<std::int32_t> value = ParseIntegerText(c.text);
        ASSERT_EQ(value.has_value(), c.ok);
        if (c.ok) {
            EXPECT_EQ(*value, c.value);
        }
    }
}

TEST(IntegerText, ConversionFailureNamesTheText)
{
    try {
        StrToInt("abc");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' は整数ではありません");
    }
    EXPECT_EQ(StrToInt(" -$10"), 16);
}

TEST(IntegerText, FallbackAndDecimalForm)
{
    EXPECT_EQ(StrToIntDef("abc", 205), 205);
    EXPECT_EQ(StrToIntDef("", 126), 126);
    EXPECT_EQ(StrToIntDef("0x20", 205), 32);
    EXPECT_EQ(IntToStr(-40), "-40");
    EXPECT_EQ(IntToStr(INT32_MIN), "-2147483648");
    EXPECT_EQ(IntToStr(0), "0");
}
