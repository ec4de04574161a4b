#include "PathRules.h"

namespace {

class TPosixPathStyle final : public TPathStyle {
public:
    char Separator() const override { return '/'; }
    bool IsDelimiter(char c) const override { return c == '/'; }
    std::size_t CharLength(std::string_view text, std::size_t pos) const override
    {
        // A lead byte announces its sequence's length; a stray continuation byte or a
        // sequence cut short by the end of the text counts as one character of its own.
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t length = 1;
        if (lead >= 0xF0 && lead <= 0xF7)
            length = 4;
        else if (lead >= 0xE0)
            length = lead <= 0xEF ? 3 : 1;
        else if (lead >= 0xC2)
            length = 2;
        if (pos + length > text.size())
            return 1;
        for (std::size_t i = 1; i < length; ++i)
            if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80)
                return 1;
        return length;
    }
};

constexpr std::size_t kNone = std::string_view::npos;

// Where the interesting characters of a path are, found in one walk over its characters.
struct TPathMarks {
    std::size_t lastDelimiter = kNone;        // start of the last delimiter
    std::size_t beforeLastDelimiter = kNone;  // start of the character in front of it
    std::size_t lastDot = kNone;              // start of the last "." after that delimiter
};

TPathMarks FindMarks(std::string_view path, const TPathStyle& style)
{
    TPathMarks marks;
    std::size_t previous = kNone;
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t length = style.CharLength(path, pos);
        if (length == 1 && style.IsDelimiter(path[pos])) {
            marks.lastDelimiter = pos;
            marks.beforeLastDelimiter = previous;
            marks.lastDot = kNone;
        } else if (length == 1 && path[pos] == '.') {
            marks.lastDot = pos;
        }
        previous = pos;
        pos += length;
    }
    return marks;
}

}  // namespace

const TPathStyle& PosixPathStyle()
{
    static const TPosixPathStyle style;
    return style;
}

const TPathStyle& NativePathStyle() { return PosixPathStyle(); }

std::string FolderPart(std::string_view path, const TPathStyle& style)
{
    const TPathMarks marks = FindMarks(path, style);
    if (marks.lastDelimiter == kNone)
        return {};
    std::size_t end = marks.lastDelimiter + 1;
    const bool isSeparator = path[marks.lastDelimiter] == style.Separator();
    const bool keepSeparator = marks.beforeLastDelimiter == kNone ||
                               (style.CharLength(path, marks.beforeLastDelimiter) == 1 &&
                                style.IsDelimiter(path[marks.beforeLastDelimiter]));
    if (isSeparator && !keepSeparator)
        --end;
    return std::string(path.substr(0, end));
}

std::string NamePart(std::string_view path, const TPathStyle& style)
{
    const TPathMarks marks = FindMarks(path, style);
    if (marks.lastDelimiter == kNone)
        return std::string(path);
    return std::string(path.substr(marks.lastDelimiter + 1));
}

std::string Extension(std::string_view path, const TPathStyle& style)
{
    const TPathMarks marks = FindMarks(path, style);
    if (marks.lastDot == kNone)
        return {};
    return std::string(path.substr(marks.lastDot));
}

std::string ChangeExtension(std::string_view path, std::string_view extension, const TPathStyle& style)
{
    const TPathMarks marks = FindMarks(path, style);
    std::string result(path.substr(0, marks.lastDot == kNone ? path.size() : marks.lastDot));
    result += extension;
    return result;
}

std::string JoinPath(std::string_view folder, std::string_view name, const TPathStyle& style)
{
    std::string result(folder);
    result += style.Separator();
    result += name;
    return result;
}
