// The crop of one file, decoded from no more of the file than the crop needs.
#pragma once

#include <string>

#include "PictureCrop.h"

// The crop picture that CutCropPicture(LoadSourcePicture(path, paletteMode), texts) gives,
// pixel for pixel, with the same failures in the same order. A colour source is decoded only
// in the rows and columns of the crop rectangle (with the margin that keeps the decoded pixels
// exact) and the decoder stops after the rectangle's last row; a gray source is decoded from
// its top down to that row. Palette mode, texts that give no crop and rare sampling layouts
// take the full path. Data past the rectangle's last row is not read, so damage there goes
// unnoticed, as a warning does. The source file is closed again when this returns.
TBitmap LoadAndCutCrop(const std::string& path, const TCropTexts& texts, bool paletteMode);
