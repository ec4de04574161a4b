// The gray levels that the JPEG library's one-pass quantisation of a gray picture to 236
// levels, with Floyd–Steinberg error diffusion, gives its samples. The library spends more
// time on this than on decoding; the same arithmetic done here takes one table lookup a pixel
// where the library takes three.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TGrayDither {
public:
    // For rows of width samples, starting with the picture's top row.
    explicit TGrayDither(std::size_t width);

    // Replaces every sample of the next row by its gray level. Rows must come in order from
    // the top, each exactly once: the error carried from one row to the next depends on all
    // of them.
    void QuantizeRow(std::uint8_t* row);

private:
    // The error to spread into the next row, scaled by 16, at each column, with one spare
    // entry before the first column and one after the last.
    std::vector<int> errors;
    bool rightToLeft = false;  // the direction alternates from row to row, the first going right
};
