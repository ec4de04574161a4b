#include "IntegerText.h"

#include "Errors.h"
#include "Messages.h"

namespace {

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the hexadecimal introducer at the front of digits, 0 when there is none.
std::size_t HexIntroducerLength(std::string_view digits)
{
    if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        return 2;
    if (!digits.empty() && (digits[0] == '$' || digits[0] == 'x' || digits[0] == 'X'))
        return 1;
    return 0;
}

std::optional<std::int32_t> ParseHex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    // The 32 bits are read as a signed number: $FFFFFFFF is -1.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ParseDecimal(std::string_view digits, bool negative)
{
    if (digits.empty())
        return std::nullopt;
    const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(value))
                    : static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ParseIntegerText(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::string_view digits = text.substr(pos);
    const std::size_t introducer = HexIntroducerLength(digits);
    if (introducer > 0)
        return ParseHex(digits.substr(introducer));
    return ParseDecimal(digits, negative);
}

std::int32_t StrToInt(const std::string& text)
{
    const std::optional<std::int32_t> value = ParseIntegerText(text);
    if (!value)
        throw EConvertError(Messages::NotAnInteger(text));
    return *value;
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback)
{
    return ParseIntegerText(text).value_or(fallback);
}

std::string IntToStr(std::int32_t value) { return std::to_string(value); }
