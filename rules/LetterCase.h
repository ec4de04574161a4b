// Letter case as velmora changes it: only the ASCII letters; every other byte, and so every
// multi-byte character, stays as it is.
#pragma once

#include <string>
#include <string_view>

std::string UpperCaseAscii(std::string_view text);
std::string LowerCaseAscii(std::string_view text);
