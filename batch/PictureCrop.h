// The work done on one selected file: decode it, cut the crop rectangle out, encode the crop.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TBitmap.h"

// The texts of the four number fields, converted afresh for every file.
struct TCropTexts {
    std::string x;       // horizontal start
    std::string y;       // vertical start
    std::string width;   // crop width
    std::string height;  // crop height
};

// Reads the JPEG file at path whole and decodes it at full size: 24 bits per pixel (blue,
// green, red), or 8 bits with a palette for a gray source and whenever palette mode is on.
TBitmap LoadSourcePicture(const std::string& path, bool paletteMode);

// Decodes JPEG data already in memory; path only names the file in messages.
TBitmap DecodeSourcePicture(const std::vector<std::uint8_t>& data, const std::string& path,
                            bool paletteMode);

// Converts the texts (horizontal start, vertical start, width, height, in this order) and
// copies the w by h pixels from column x, row y into a new 24-bit picture; pixels whose source
// position lies outside the source stay white.
TBitmap CutCropPicture(const TBitmap& source, const TCropTexts& texts);

// The complete bytes of the baseline JFIF file, quality 90, that encodes the picture.
std::vector<std::uint8_t> EncodeCropPicture(const TBitmap& crop);

// Encodes the picture and replaces the file under outputName with it; a failure leaves a file
// that was there as it was.
void SaveCropPicture(const TBitmap& crop, const std::string& outputName);
