// Text lengths in bytes of the Japanese ANSI code page, the unit of the fields' length limits.
#pragma once

#include <QString>

// ASCII (U+0000-U+007F) and half-width katakana (U+FF61-U+FF9F) take one byte, every other
// character two; a surrogate pair is one character.
int Cp932ByteLength(const QString& text);

// The longest front part of the text, in whole characters, that takes at most maxBytes bytes.
QString Cp932Prefix(const QString& text, int maxBytes);
