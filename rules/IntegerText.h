// The one rule by which velmora turns a text into a signed 32-bit number.
//
// Leading spaces (the character 32 only), then one optional sign, then either decimal digits
// within the signed 32-bit range, or a hexadecimal form introduced by "$", "x", "X", "0x" or "0X"
// whose value fits in 32 bits and is read as a signed number (the sign in front is ignored).
// Nothing may follow the digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The value of an integer text, or nothing when the text is not one.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

// The value of an integer text; throws EConvertError naming the text otherwise.
std::int32_t StrToInt(const std::string& text);

// The text's value when it is an integer text, otherwise the fallback.
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

// The decimal form of a number: digits without leading zeros, "-" for a negative value.
std::string IntToStr(std::int32_t value);
