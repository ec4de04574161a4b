// The display the program shows its window on.
#pragma once

// Bits per pixel times colour planes of the display, read once when first asked. A program
// without a display reports 24.
int DisplayColorBits();

// Palette mode decodes every picture to 8 bits with a palette; it is on for displays of
// 8 bits or less.
inline bool PaletteModeFor(int displayColorBits) { return displayColorBits <= 8; }
