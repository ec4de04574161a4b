#include "Cp932.h"

#include <gtest/gtest.h>

TEST(Cp932, ByteLengthCountsSingleAndDoubleByteCharacters)
{
    const struct { const char* name; QString text; int bytes; } cases[] = {
        {"empty",                    QString(),                     0},
        {"ascii",                    QStringLiteral("ab_1"),        4},
        {"control and delete",       QStringLiteral("\t\x7f"),      2},
        {"kanji",                    QStringLiteral("日本"),        4},
        {"full-width letter",        QStringLiteral("Ａ"),          2},
        {"latin-1 letter",           QStringLiteral("é"),           2},
        {"half-width katakana",      QStringLiteral("ｱｲｳ"),         3},
        {"first half-width kana",    QStringLiteral("\uFF61"),      1},
        {"last half-width kana",     QStringLiteral("\uFF9F"),      1},
        {"just before half-width",   QStringLiteral("\uFF60"),      2},
        {"just after half-width",    QStringLiteral("\uFFA0"),      2},
        {"surrogate pair",           QStringLiteral("\U0001F600"),  2},
        {"mixed",                    QStringLiteral("a日ｱ"),        4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cp932ByteLength(c.text), c.bytes) << c.name;
}

TEST(Cp932, PrefixKeepsWholeCharactersWithinTheBytes)
{
    const struct { const char* name; QString text; int maxBytes; QString prefix; } cases[] = {
        {"all fits",                QStringLiteral("abc"),              4, QStringLiteral("abc")},
        {"cut single bytes",        QStringLiteral("abcdef"),           4, QStringLiteral("abcd")},
        {"double byte not halved",  QStringLiteral("a日本"),            4, QStringLiteral("a日")},
        {"nothing fits",            QStringLiteral("日"),               1, QString()},
        {"zero bytes",              QStringLiteral("a"),                0, QString()},
        {"pair not split",          QStringLiteral("a\U0001F600b"),     2, QStringLiteral("a")},
        {"pair kept whole",         QStringLiteral("a\U0001F600b"),     3, QStringLiteral("a\U0001F600")},
        {"half-width kana",         QStringLiteral("ｱｲｳｴｵ"),            4, QStringLiteral("ｱｲｳｴ")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cp932Prefix(c.text, c.maxBytes), c.prefix) << c.name;
}
