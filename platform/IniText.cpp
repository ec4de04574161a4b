#include "IniText.h"

#include <cassert>
#include <cstddef>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// One line of the text: its visible content [begin, end) and where the next line starts.
struct TLine {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    bool HasLineEnd() const { return next > end; }
};

enum class TLineKind { Other, Section, Key };

// What a line says: a section with its name, a key with its name and value, or neither.
struct TParsedLine {
    TLineKind kind = TLineKind::Other;
    std::string_view name;
    std::string_view value;
    std::size_t nameEnd = 0;  // offset in the line just past the key's name as written
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

std::string_view Unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The line that starts at begin. A CR right before the LF belongs to the line end.
TLine LineAt(std::string_view text, std::size_t begin)
{
    TLine line;
    line.begin = begin;
    const std::size_t lf = text.find('\n', begin);
    if (lf == std::string_view::npos) {
        line.end = line.next = text.size();
        return line;
    }
    line.next = lf + 1;
    line.end = lf > begin && text[lf - 1] == '\r' ? lf - 1 : lf;
    return line;
}

// Where the first line starts: a UTF-8 byte order mark from an editor is not part of it.
std::size_t FirstLineBegin(std::string_view text)
{
    return text.substr(0, kUtf8Mark.size()) == kUtf8Mark ? kUtf8Mark.size() : 0;
}

TParsedLine ParseLine(std::string_view content)
{
    TParsedLine parsed;
    const std::string_view visible = Trim(content);
    if (visible.empty() || visible.front() == ';')
        return parsed;
    if (visible.front() == '[') {
        const std::size_t close = visible.rfind(']');
        if (close == std::string_view::npos)
            return parsed;
        parsed.kind = TLineKind::Section;
        parsed.name = Trim(visible.substr(1, close - 1));
        return parsed;
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos)
        return parsed;
    parsed.kind = TLineKind::Key;
    parsed.name = Trim(content.substr(0, equals));
    parsed.value = Trim(content.substr(equals + 1));
    parsed.nameEnd = parsed.name.empty() ? equals
                                         : static_cast<std::size_t>(parsed.name.data() - content.data()) +
                                               parsed.name.size();
    return parsed;
}

// The lines of the text that matter for one key of one section.
struct TKeyPlace {
    std::optional<TLine> section;     // the line of the section's first appearance
    std::optional<TLine> lastKey;     // the last key line within it
    std::optional<TLine> key;         // the key's own line
    std::size_t keyNameEnd = 0;       // offset in the key's line just past its name
};

TKeyPlace FindKeyPlace(std::string_view text, std::string_view section, std::string_view key)
{
    TKeyPlace place;
    bool inSection = false;
    for (std::size_t pos = FirstLineBegin(text); pos < text.size();) {
        const TLine line = LineAt(text, pos);
        pos = line.next;
        const TParsedLine parsed = ParseLine(text.substr(line.begin, line.end - line.begin));
        if (parsed.kind == TLineKind::Section) {
            if (inSection)
                break;  // a later section of the same name does not count
            inSection = SameName(parsed.name, section);
            if (inSection)
                place.section = line;
            continue;
        }
        if (!inSection || parsed.kind != TLineKind::Key)
            continue;
        place.lastKey = line;
        if (SameName(parsed.name, key)) {
            place.key = line;
            place.keyNameEnd = parsed.nameEnd;
            break;
        }
    }
    return place;
}

std::string_view LineEndOf(std::string_view text)
{
    const std::size_t lf = text.find('\n');
    return lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

std::string KeyLine(std::string_view key, std::string_view value)
{
    std::string line(key);
    line += '=';
    line += value;
    return line;
}

// The text with a new line put after the given one, which gets a line end if it had none.
std::string InsertLineAfter(std::string_view text, const TLine& after, std::string_view newLine)
{
    const std::string_view lineEnd = LineEndOf(text);
    std::string result(text.substr(0, after.next));
    if (!after.HasLineEnd())
        result += lineEnd;
    result += newLine;
    result += lineEnd;
    result += text.substr(after.next);
    return result;
}

std::string AppendSection(std::string_view text, std::string_view section, std::string_view keyLine)
{
    const std::string_view lineEnd = LineEndOf(text);
    std::string result(text);
    if (!result.empty() && result.back() != '\n')
        result += lineEnd;
    result += '[';
    result += section;
    result += ']';
    result += lineEnd;
    result += keyLine;
    result += lineEnd;
    return result;
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key)
{
    const TKeyPlace place = FindKeyPlace(text, section, key);
    if (!place.key)
        return std::nullopt;
    const TLine& line = *place.key;
    const TParsedLine parsed = ParseLine(text.substr(line.begin, line.end - line.begin));
    // A value is a C string to the rest of the program: it ends at a NUL byte.
    const std::string_view value = Unquoted(parsed.value);
    return std::string(value.substr(0, value.find('\0')));
}

std::string SingleLineValue(std::string_view value)
{
    return std::string(value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3))));
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value)
{
    // Names are the program's own; one that could break a line's form is our mistake.
    assert(!section.empty() && section.find_first_of("[]\r\n") == std::string_view::npos);
    assert(!key.empty() && key.find_first_of("=;[\r\n") == std::string_view::npos);
    const std::string storedValue = SingleLineValue(value);
    const TKeyPlace place = FindKeyPlace(text, section, key);
    if (place.key) {
        const std::size_t valueBegin = place.key->begin + place.keyNameEnd;
        std::string result(text.substr(0, valueBegin));
        result += '=';
        result += storedValue;
        result += text.substr(place.key->end);
        return result;
    }
    if (place.section)
        return InsertLineAfter(text, place.lastKey ? *place.lastKey : *place.section,
                               KeyLine(key, storedValue));
    return AppendSection(text, section, KeyLine(key, storedValue));
}
