// INI text as velmora reads and writes it, as plain functions over a file's whole text.
//
// Lines end in LF or CR LF. A line "[name]" opens a section, a line "key=value" is a key of the
// section above it, a line whose first visible character is ";" is a comment. Section and key
// names match without regard to ASCII letter case; spaces and tabs around names and values do
// not count; a value enclosed in one pair of matching double or single quotes reads without
// them. Only the first section of a name counts, and the first key of a name within it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value of the key in the section, up to a NUL byte in it, or nothing when the text has no
// such key there.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The part of a value that one line can hold: everything before its first CR, LF or NUL.
std::string SingleLineValue(std::string_view value);

// The text with the key of the section set to SingleLineValue(value): an existing key keeps its
// place and its spelling and gets the new value; a missing key is added after the last key of
// the section; a missing section is added at the end of the text. Every other line, and every
// line end, stays byte for byte; new lines end like the text's first line (LF in a new text).
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);
