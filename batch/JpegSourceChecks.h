// What velmora asks of a source once its header is read, the same for every way it decodes.
#pragma once

#include <string>

#include "JpegErrors.h"

// One gray component, as the library outputs it.
bool IsGray(const jpeg_decompress_struct& info);

// Three components that the library outputs as colour.
bool IsThreeComponentColor(const jpeg_decompress_struct& info);

// The decoding parameters every decode of a source shares: full size, the floating-point DCT,
// block smoothing, fancy upsampling and a single output pass. Colour space and quantisation
// are the caller's.
void SetSharedDecodeParameters(jpeg_decompress_struct& info);

// Refuses a source the pictures cannot hold: a colour model other than gray or three-component
// colour (CMYK, YCCK...), then a size beyond what velmora decodes, both naming the file. Both
// come before the library or the picture takes any memory for the source.
void RefuseUnsupportedSource(const jpeg_decompress_struct& info, const std::string& path);
