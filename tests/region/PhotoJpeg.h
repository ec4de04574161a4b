// Small JPEG files that look like photos to the decoder: smooth gradients under fine detail
// and noise, so that every pixel differs from its neighbours and any decoding difference at
// the edge of a decoded region shows in the output.
#pragma once

#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace PhotoJpeg {

enum class TModel { color, gray, cmyk };

struct TPhoto {
    int width = 64;
    int height = 48;
    TModel model = TModel::color;
    int lumaH = 2;  // Y's sampling factors; Cb and Cr are 1 by 1
    int lumaV = 2;
    bool progressive = false;
    int restartRows = 0;  // a restart marker after every that many MCU rows; 0 for none
    bool separateScans = false;  // sequential, one scan per component
    int base = 128;       // the mean sample value
    double contrast = 1;  // how far samples stray from it: 1 for a photo, near 0 for a flat wall
};

inline int ComponentsOf(TModel model) { return model == TModel::color ? 3 : model == TModel::gray ? 1 : 4; }

inline std::uint8_t Clamped(double value)
{
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// The samples of the picture, row after row.
inline std::vector<std::uint8_t> PhotoSamples(const TPhoto& photo)
{
    const int components = ComponentsOf(photo.model);
    std::mt19937 noise(20261211);
    std::vector<std::uint8_t> samples;
    samples.reserve(static_cast<std::size_t>(photo.width) * photo.height * components);
    for (int row = 0; row < photo.height; ++row)
        for (int column = 0; column < photo.width; ++column)
            for (int c = 0; c < components; ++c) {
                const double gradient = 90 * std::sin(column * 0.045 + c) * std::cos(row * 0.06 - c);
                const double detail = ((column * 7 + row * 3 + c * 5) % 11 - 5) * 5;
                const double grain = static_cast<int>(noise() % 41) - 20;
                samples.push_back(Clamped(photo.base + photo.contrast * (gradient + detail + grain)));
            }
    return samples;
}

struct TTrap {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

inline void LeaveLibrary(j_common_ptr info) { std::longjmp(reinterpret_cast<TTrap*>(info->err)->jump, 1); }

inline void SetParameters(jpeg_compress_struct& info, const TPhoto& photo)
{
    info.image_width = static_cast<JDIMENSION>(photo.width);
    info.image_height = static_cast<JDIMENSION>(photo.height);
    info.input_components = ComponentsOf(photo.model);
    info.in_color_space = photo.model == TModel::color  ? JCS_RGB
                          : photo.model == TModel::gray ? JCS_GRAYSCALE
                                                        : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (photo.model == TModel::color) {
        info.comp_info[0].h_samp_factor = photo.lumaH;
        info.comp_info[0].v_samp_factor = photo.lumaV;
    }
    if (photo.progressive)
        jpeg_simple_progression(&info);
    static const jpeg_scan_info kOneScanPerComponent[] = {
        {1, {0}, 0, 63, 0, 0}, {1, {1}, 0, 63, 0, 0}, {1, {2}, 0, 63, 0, 0}};
    if (photo.separateScans) {
        info.scan_info = kOneScanPerComponent;
        info.num_scans = 3;
    }
    info.restart_in_rows = photo.restartRows;
}

// Encodes everything the compressor needs in one go, so that the library's error exit jumps
// over no C++ object.
inline bool Compressed(TTrap& trap, jpeg_compress_struct& info, const TPhoto& photo,
                       const std::vector<std::uint8_t>& samples, unsigned char** buffer, unsigned long* size)
{
    if (setjmp(trap.jump) != 0)
        return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    SetParameters(info, photo);
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowSize = static_cast<std::size_t>(photo.width) * ComponentsOf(photo.model);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPROW>(samples.data() + info.next_scanline * rowSize);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

// A JPEG file of the photo-like picture.
inline std::vector<std::uint8_t> MakePhotoJpeg(const TPhoto& photo)
{
    const std::vector<std::uint8_t> samples = PhotoSamples(photo);
    TTrap trap{};
    jpeg_std_error(&trap.pub);
    trap.pub.error_exit = LeaveLibrary;
    jpeg_compress_struct info{};
    info.err = &trap.pub;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool done = Compressed(trap, info, photo, samples, &buffer, &size);
    jpeg_destroy_compress(&info);
    if (!done)
        throw std::runtime_error("photo fixture encoding failed");
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

}  // namespace PhotoJpeg
