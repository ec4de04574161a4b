// The path rules: folder part, name part, extension, changing the extension and joining.
//
// A path is examined character by character in its style: the bytes of a multi-byte character
// are taken whole, so none of them ever counts as a separator or a dot. A style says which
// characters end a folder (the separator, and on drive-letter systems ":") and how long a
// character is; the callers never need to know which style is in use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class TPathStyle {
public:
    virtual ~TPathStyle() = default;
    // The character written between a folder part and a name.
    virtual char Separator() const = 0;
    // True for a character that ends a folder part: the separator, or a drive prefix's ":".
    virtual bool IsDelimiter(char c) const = 0;
    // The number of bytes of the character that starts at text[pos] (at least 1).
    virtual std::size_t CharLength(std::string_view text, std::size_t pos) const = 0;
};

// "/" separates, there is no drive prefix, and UTF-8 sequences are taken whole.
const TPathStyle& PosixPathStyle();
// The style of the platform the program runs on.
const TPathStyle& NativePathStyle();

// The path up to its last delimiter; the final separator is kept only when the character
// before it is a delimiter too, or when it is the path's first character. Empty without one.
std::string FolderPart(std::string_view path, const TPathStyle& style = NativePathStyle());
// What follows the last delimiter; the whole path when there is none.
std::string NamePart(std::string_view path, const TPathStyle& style = NativePathStyle());
// From the last "." to the end, when no delimiter follows that dot; otherwise empty.
std::string Extension(std::string_view path, const TPathStyle& style = NativePathStyle());
// The path without its extension, followed by the new one (which may be empty).
std::string ChangeExtension(std::string_view path, std::string_view extension,
                            const TPathStyle& style = NativePathStyle());
// folder, the separator, name: no check for a separator that is already there.
std::string JoinPath(std::string_view folder, std::string_view name,
                     const TPathStyle& style = NativePathStyle());
