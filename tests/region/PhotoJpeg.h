// Small JPEG files that look like photos to the decoder: smooth gradients under fine detail
// and noise, so that every pixel differs from its neighbours and any decoding difference at
// the edge of a decoded region shows in the output.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestJpeg.h"

namespace PhotoJpeg {

inline std::uint8_t Clamped(double value)
{
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// The samples of a picture, row after row, with the fixture's number of components.
inline std::vector<std::uint8_t> PhotoSamples(const TestJpeg::TFixture& fixture)
{
    const int components = TestJpeg::ComponentsOf(fixture.kind);
    std::mt19937 noise(20261211);
    std::vector<std::uint8_t> samples;
    samples.reserve(static_cast<std::size_t>(fixture.width) * fixture.height * components);
    for (int row = 0; row < fixture.height; ++row)
        for (int column = 0; column < fixture.width; ++column)
            for (int c = 0; c < components; ++c) {
                const double gradient = 90 * std::sin(column * 0.045 + c) * std::cos(row * 0.06 - c);
                const double detail = ((column * 7 + row * 3 + c * 5) % 11 - 5) * 5;
                const double grain = static_cast<int>(noise() % 41) - 20;
                samples.push_back(Clamped(128 + gradient + detail + grain));
            }
    return samples;
}

// A JPEG file of a photo-like picture with the fixture's size, sampling, progression and
// restart interval.
inline std::vector<std::uint8_t> MakePhotoJpeg(const TestJpeg::TFixture& fixture)
{
    const std::vector<std::uint8_t> samples = PhotoSamples(fixture);
    const std::size_t rowSize =
        static_cast<std::size_t>(fixture.width) * TestJpeg::ComponentsOf(fixture.kind);
    TestJpeg::TErrorTrap trap;
    jpeg_compress_struct info{};
    info.err = &trap.pub;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool done = TestJpeg::CompletedUnderTrap(trap, [&] {
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &buffer, &size);
        TestJpeg::SetFixtureParameters(info, fixture);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            auto* row = const_cast<JSAMPROW>(samples.data() + info.next_scanline * rowSize);
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
    });
    jpeg_destroy_compress(&info);
    if (!done)
        throw std::runtime_error(std::string("photo fixture encoding failed: ") + trap.message);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

}  // namespace PhotoJpeg
