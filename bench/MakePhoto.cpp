// Writes a photo-like JPEG file for the benchmark: broad gradients, edges, fine texture that
// varies across the picture and sensor-like noise, so that its size and decoding cost are
// those of a camera's file and not of a flat test card.
//
//   velmora_makephoto OUT WIDTH HEIGHT KIND     KIND: 420, 444, progressive or gray
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kQuality = 92;

struct TKind {
    int components;
    int lumaH;
    int lumaV;
    bool progressive;
};

bool KindOf(const std::string& name, TKind& kind)
{
    if (name == "420")
        kind = {3, 2, 2, false};
    else if (name == "444")
        kind = {3, 1, 1, false};
    else if (name == "progressive")
        kind = {3, 2, 2, true};
    else if (name == "gray")
        kind = {1, 1, 1, false};
    else
        return false;
    return true;
}

// A small, fast generator; the noise only has to look random to the encoder.
struct TNoise {
    std::uint32_t state = 2463534242u;
    int Next(int amplitude)
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<int>(state % (2 * amplitude + 1)) - amplitude;
    }
};

std::uint8_t Clamped(double value)
{
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// Per-column terms of the separable pattern, one set per component.
struct TColumnTerms {
    std::vector<double> broadSin, broadCos, diagonalSin, diagonalCos, textureSin, textureCos;
};

TColumnTerms ColumnTerms(int width, int component)
{
    TColumnTerms terms;
    for (int column = 0; column < width; ++column) {
        const double broad = column * 2 * kPi / 1500 + component;
        const double diagonal = column * 2 * kPi / 230 + component * 0.7;
        const double texture = column * 0.9 + component;
        terms.broadSin.push_back(std::sin(broad));
        terms.broadCos.push_back(std::cos(broad));
        terms.diagonalSin.push_back(std::sin(diagonal));
        terms.diagonalCos.push_back(std::cos(diagonal));
        terms.textureSin.push_back(std::sin(texture));
        terms.textureCos.push_back(std::cos(texture));
    }
    return terms;
}

void FillRow(std::vector<std::uint8_t>& row, int rowIndex, int width, int components,
             const std::vector<TColumnTerms>& terms, TNoise& noise)
{
    for (int c = 0; c < components; ++c) {
        const TColumnTerms& t = terms[c];
        const double broadRow = std::cos(rowIndex * 2 * kPi / 1100 - c);
        const double diagonal = rowIndex * 2 * kPi / 230;
        const double diagonalSin = std::sin(diagonal), diagonalCos = std::cos(diagonal);
        const double phase = 3 * std::sin(rowIndex * 0.05);
        const double phaseSin = std::sin(phase), phaseCos = std::cos(phase);
        for (int column = 0; column < width; ++column) {
            // Texture strength changes in patches, as foliage next to sky does.
            const bool busy = ((column / 600) + (rowIndex / 500)) % 2 == 0;
            const double edge = ((column / 97 + rowIndex / 131) % 3) * 14.0;
            const double value = 110 + edge +
                                 60 * t.broadSin[column] * broadRow +
                                 30 * (t.diagonalSin[column] * diagonalCos + t.diagonalCos[column] * diagonalSin) +
                                 (busy ? 22 : 5) * (t.textureSin[column] * phaseCos + t.textureCos[column] * phaseSin) +
                                 noise.Next(7);
            row[static_cast<std::size_t>(column) * components + c] = Clamped(value);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    TKind kind{};
    if (argc != 5 || !KindOf(argv[4], kind)) {
        std::fprintf(stderr, "usage: %s OUT WIDTH HEIGHT 420|444|progressive|gray\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    jpeg_error_mgr err;
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&err);  // the library's own: report and exit
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = kind.components;
    info.in_color_space = kind.components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    info.comp_info[0].h_samp_factor = kind.lumaH;
    info.comp_info[0].v_samp_factor = kind.lumaV;
    if (kind.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);

    std::vector<TColumnTerms> terms;
    for (int c = 0; c < kind.components; ++c)
        terms.push_back(ColumnTerms(width, c));
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * kind.components);
    TNoise noise;
    while (info.next_scanline < info.image_height) {
        FillRow(row, static_cast<int>(info.next_scanline), width, kind.components, terms, noise);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0 ? 0 : 1;
}
