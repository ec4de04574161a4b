#include "Cp932.h"

namespace {

bool IsSingleByte(char32_t code)
{
    return code <= 0x7F || (code >= 0xFF61 && code <= 0xFF9F);
}

// Length in QChars of the character at index: two for a surrogate pair, else one.
qsizetype CharacterLength(const QString& text, qsizetype index)
{
    if (text.at(index).isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate())
        return 2;
    return 1;
}

int CharacterBytes(const QString& text, qsizetype index, qsizetype length)
{
    return length == 1 && IsSingleByte(text.at(index).unicode()) ? 1 : 2;
}

} // namespace

int Cp932ByteLength(const QString& text)
{
    int bytes = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = CharacterLength(text, i);
        bytes += CharacterBytes(text, i, length);
        i += length;
    }
    return bytes;
}

QString Cp932Prefix(const QString& text, int maxBytes)
{
    int bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype length = CharacterLength(text, end);
        bytes += CharacterBytes(text, end, length);
        if (bytes > maxBytes)
            break;
        end += length;
    }
    return text.left(end);
}
