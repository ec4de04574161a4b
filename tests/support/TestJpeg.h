// JPEG fixtures for tests, made on the spot with libjpeg: pictures of a known pattern in the
// usual flavours, the edits real files carry (an Exif orientation, a file cut short), and
// probes that read back markers, frame components, quantisation tables and pixels.
#pragma once

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace TestJpeg {

struct TRgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// The pattern is made of flat blocks this size, aligned with the MCUs of every sampling, so
// that away from a block's edges the decoded colour is the pattern's within rounding.
constexpr int kPatternBlock = 16;

// The pattern's colour: red changes with the block column, green with the block row, blue with
// both, so neighbouring blocks differ and swapped channels show.
inline TRgb PatternColor(int column, int row)
{
    const int bx = column / kPatternBlock;
    const int by = row / kPatternBlock;
    return {30 + (bx * 47) % 200, 20 + (by * 71) % 210, 230 - ((bx + 2 * by) * 37) % 200};
}

inline int PatternGray(int column, int row)
{
    const int bx = column / kPatternBlock;
    const int by = row / kPatternBlock;
    return 20 + ((bx * 3 + by * 5) % 12) * 18;
}

// The centre of a pattern block, the place to probe a decoded colour.
inline bool IsBlockCentre(int column, int row)
{
    return column % kPatternBlock == kPatternBlock / 2 && row % kPatternBlock == kPatternBlock / 2;
}

enum class TKind { color, gray, cmyk };

struct TFixture {
    int width = 64;
    int height = 48;
    TKind kind = TKind::color;
    int lumaH = 2;  // Y's sampling factors; Cb and Cr are always 1 by 1
    int lumaV = 2;
    bool progressive = false;
    int restartRows = 0;  // a restart marker after every that many MCU rows; 0 for none
    int quality = 95;
    bool grayRamp = false;  // gray level = column % 256: more levels than a palette holds
    int ripple = 0;  // amplitude of a fine ripple over the blocks, so that decoding depends
                     // on every parameter (the DCT method, smoothing); 0 keeps blocks flat
};

inline TFixture Color(int width, int height, int lumaH = 2, int lumaV = 2)
{
    TFixture fixture;
    fixture.width = width;
    fixture.height = height;
    fixture.lumaH = lumaH;
    fixture.lumaV = lumaV;
    return fixture;
}

// Catches the library's fatal errors: the message is kept and the call jumps back to
// CompletedUnderTrap, which is why what runs there must own no C++ object of its own.
struct TErrorTrap {
    TErrorTrap()
    {
        jpeg_std_error(&pub);
        pub.error_exit = Leave;
        pub.emit_message = [](j_common_ptr, int) {};
        message[0] = '\0';
    }
    static void Leave(j_common_ptr info)
    {
        auto* trap = reinterpret_cast<TErrorTrap*>(info->err);
        (*info->err->format_message)(info, trap->message);
        std::longjmp(trap->jump, 1);
    }
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

template <class Body>
bool CompletedUnderTrap(TErrorTrap& trap, Body&& body)
{
    if (setjmp(trap.jump) != 0)
        return false;
    body();
    return true;
}

inline int ComponentsOf(TKind kind) { return kind == TKind::color ? 3 : kind == TKind::gray ? 1 : 4; }

inline std::uint8_t Sample(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// The fixture's samples, row after row, in the order the library is given them.
inline std::vector<std::uint8_t> FixtureSamples(const TFixture& fixture)
{
    const int components = ComponentsOf(fixture.kind);
    std::vector<std::uint8_t> samples;
    samples.reserve(static_cast<std::size_t>(fixture.width) * fixture.height * components);
    for (int row = 0; row < fixture.height; ++row)
        for (int column = 0; column < fixture.width; ++column) {
            const int ripple = ((column * 7 + row * 13) % 9 - 4) * fixture.ripple / 4;
            const TRgb color = PatternColor(column, row);
            if (fixture.kind == TKind::gray) {
                const int level = fixture.grayRamp ? column % 256 : PatternGray(column, row);
                samples.push_back(Sample(level + ripple));
            } else if (fixture.kind == TKind::color) {
                samples.insert(samples.end(), {Sample(color.red + ripple), Sample(color.green - ripple),
                                               Sample(color.blue + ripple)});
            } else {
                samples.insert(samples.end(), {Sample(255 - color.red), Sample(255 - color.green),
                                               Sample(255 - color.blue), 40});
            }
        }
    return samples;
}

template <class Settings>
std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& samples, int width, int height,
                                   int components, J_COLOR_SPACE inColorSpace, Settings&& settings)
{
    const std::size_t rowSize = static_cast<std::size_t>(width) * components;
    TErrorTrap trap;
    jpeg_compress_struct info{};
    info.err = &trap.pub;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool done = CompletedUnderTrap(trap, [&] {
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &buffer, &size);
        info.image_width = static_cast<JDIMENSION>(width);
        info.image_height = static_cast<JDIMENSION>(height);
        info.input_components = components;
        info.in_color_space = inColorSpace;
        jpeg_set_defaults(&info);
        settings(info);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            auto* row = const_cast<JSAMPROW>(samples.data() + info.next_scanline * rowSize);
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
    });
    jpeg_destroy_compress(&info);
    // After a failure the buffer may already have been replaced by the library: leave it.
    if (!done)
        throw std::runtime_error(std::string("encoding failed: ") + trap.message);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// A JPEG file of the fixture's pattern.
inline std::vector<std::uint8_t> MakeJpeg(const TFixture& fixture)
{
    const J_COLOR_SPACE inColorSpace = fixture.kind == TKind::color  ? JCS_RGB
                                       : fixture.kind == TKind::gray ? JCS_GRAYSCALE
                                                                     : JCS_CMYK;
    return Compress(FixtureSamples(fixture), fixture.width, fixture.height, ComponentsOf(fixture.kind),
                    inColorSpace, [&](jpeg_compress_struct& info) {
                        jpeg_set_quality(&info, fixture.quality, TRUE);
                        if (fixture.kind == TKind::color) {
                            info.comp_info[0].h_samp_factor = fixture.lumaH;
                            info.comp_info[0].v_samp_factor = fixture.lumaV;
                        }
                        if (fixture.progressive)
                            jpeg_simple_progression(&info);
                        info.restart_in_rows = fixture.restartRows;
                    });
}

// The file velmora is to write for rows of blue, green, red samples: the library's defaults,
// then the floating-point DCT, then quality 90 limited to baseline tables.
inline std::vector<std::uint8_t> ExpectedCropFile(const std::vector<std::uint8_t>& bgr, int width, int height)
{
    return Compress(bgr, width, height, 3, JCS_EXT_BGR, [](jpeg_compress_struct& info) {
        info.dct_method = JDCT_FLOAT;
        jpeg_set_quality(&info, 90, TRUE);
    });
}

// Markers: listing them and reading the frame and quantisation tables.

constexpr int kSOI = 0xD8, kEOI = 0xD9, kSOS = 0xDA, kDQT = 0xDB, kDHT = 0xC4, kSOF0 = 0xC0,
              kSOF2 = 0xC2, kDRI = 0xDD, kAPP0 = 0xE0, kAPP1 = 0xE1, kAPP14 = 0xEE;

struct TMarker {
    int code = 0;
    std::size_t offset = 0;             // of the 0xFF that starts it
    std::vector<std::uint8_t> payload;  // the segment after its length field
};

inline bool StandsAlone(int code) { return code == kSOI || code == kEOI || (code >= 0xD0 && code <= 0xD7); }

// Every marker of the file in order, restart markers in the scans included. Throws when the
// bytes do not parse as markers.
inline std::vector<TMarker> ListMarkers(const std::vector<std::uint8_t>& bytes)
{
    std::vector<TMarker> markers;
    std::size_t pos = 0;
    while (pos + 1 < bytes.size()) {
        if (bytes[pos] != 0xFF)
            throw std::runtime_error("no marker at offset " + std::to_string(pos));
        TMarker marker;
        marker.offset = pos;
        while (pos < bytes.size() && bytes[pos] == 0xFF)
            ++pos;
        if (pos >= bytes.size())
            break;
        marker.code = bytes[pos++];
        if (!StandsAlone(marker.code)) {
            if (pos + 2 > bytes.size())
                throw std::runtime_error("segment length cut off");
            const std::size_t length = bytes[pos] << 8 | bytes[pos + 1];
            if (length < 2 || pos + length > bytes.size())
                throw std::runtime_error("segment runs past the end");
            marker.payload.assign(bytes.begin() + pos + 2, bytes.begin() + pos + length);
            pos += length;
        }
        const bool entropyDataFollows = marker.code == kSOS || (marker.code >= 0xD0 && marker.code <= 0xD7);
        markers.push_back(std::move(marker));
        if (markers.back().code == kEOI)
            break;
        if (entropyDataFollows)
            while (pos + 1 < bytes.size() && !(bytes[pos] == 0xFF && bytes[pos + 1] != 0x00))
                ++pos;
    }
    return markers;
}

inline std::vector<int> MarkerCodes(const std::vector<std::uint8_t>& bytes)
{
    std::vector<int> codes;
    for (const TMarker& marker : ListMarkers(bytes))
        codes.push_back(marker.code);
    return codes;
}

// The first marker with the code; throws when there is none.
inline TMarker FindMarker(const std::vector<std::uint8_t>& bytes, int code)
{
    for (TMarker& marker : ListMarkers(bytes))
        if (marker.code == code)
            return marker;
    throw std::runtime_error("marker not found: " + std::to_string(code));
}

struct TFrameComponent {
    int id = 0;
    int h = 0;
    int v = 0;
    int quantTable = 0;
};

struct TFrame {
    int code = 0;  // SOF0 for baseline, SOF2 for progressive...
    int precision = 0;
    int width = 0;
    int height = 0;
    std::vector<TFrameComponent> components;
};

inline bool IsFrameHeader(int code)
{
    return code >= 0xC0 && code <= 0xCF && code != kDHT && code != 0xC8 && code != 0xCC;
}

// The frame header (SOF0, SOF2...); throws when there is none.
inline TMarker FindFrameMarker(const std::vector<std::uint8_t>& bytes)
{
    for (TMarker& marker : ListMarkers(bytes))
        if (IsFrameHeader(marker.code))
            return marker;
    throw std::runtime_error("no frame header");
}

inline TFrame ReadFrame(const std::vector<std::uint8_t>& bytes)
{
    const TMarker marker = FindFrameMarker(bytes);
    const std::vector<std::uint8_t>& p = marker.payload;
    TFrame frame;
    frame.code = marker.code;
    frame.precision = p.at(0);
    frame.height = p.at(1) << 8 | p.at(2);
    frame.width = p.at(3) << 8 | p.at(4);
    for (int i = 0; i < p.at(5); ++i) {
        const std::size_t at = 6 + 3 * static_cast<std::size_t>(i);
        frame.components.push_back({p.at(at), p.at(at + 1) >> 4, p.at(at + 1) & 15, p.at(at + 2)});
    }
    return frame;
}

// Where the k-th stored (zigzag) value of a table goes in natural, row-by-row order.
constexpr std::array<int, 64> kNaturalOrder = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Every quantisation table of the file by its number, in natural order.
inline std::map<int, std::array<int, 64>> ReadQuantTables(const std::vector<std::uint8_t>& bytes)
{
    std::map<int, std::array<int, 64>> tables;
    for (const TMarker& marker : ListMarkers(bytes)) {
        if (marker.code != kDQT)
            continue;
        std::size_t pos = 0;
        while (pos < marker.payload.size()) {
            const int precision = marker.payload.at(pos) >> 4;
            const int number = marker.payload.at(pos) & 15;
            ++pos;
            std::array<int, 64> table{};
            for (int k = 0; k < 64; ++k) {
                int value = marker.payload.at(pos++);
                if (precision != 0)
                    value = value << 8 | marker.payload.at(pos++);
                table[kNaturalOrder[k]] = value;
            }
            tables[number] = table;
        }
    }
    return tables;
}

// Edits of a file, as real files come.

// The file with an APP1 Exif segment right after SOI that holds one orientation entry.
inline std::vector<std::uint8_t> InsertExifOrientation(const std::vector<std::uint8_t>& bytes,
                                                       int orientation)
{
    const std::vector<std::uint8_t> segment = {
        0xFF, 0xE1, 0x00, 34,                                // APP1, length
        'E',  'x',  'i',  'f', 0, 0,                         // Exif identifier
        'I',  'I',  0x2A, 0,   8, 0,    0, 0,                // little-endian TIFF, IFD at 8
        1,    0,                                             // one entry
        0x12, 0x01, 3,    0,   1, 0,    0, 0,                // Orientation, SHORT, count 1
        static_cast<std::uint8_t>(orientation), 0, 0, 0,     // its value
        0,    0,    0,    0};                                // no next IFD
    std::vector<std::uint8_t> edited(bytes.begin(), bytes.begin() + 2);
    edited.insert(edited.end(), segment.begin(), segment.end());
    edited.insert(edited.end(), bytes.begin() + 2, bytes.end());
    return edited;
}

// The file up to the end of its first scan header and keptScanBytes of scan data after it.
inline std::vector<std::uint8_t> TruncateAfterHeader(const std::vector<std::uint8_t>& bytes,
                                                     std::size_t keptScanBytes = 0)
{
    const TMarker sos = FindMarker(bytes, kSOS);
    const std::size_t end = sos.offset + 4 + sos.payload.size() + keptScanBytes;
    return std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + std::min(end, bytes.size()));
}

// The file with its frame header claiming another size; the scan data stays as it was.
inline std::vector<std::uint8_t> WithClaimedSize(std::vector<std::uint8_t> bytes, int width, int height)
{
    const std::size_t at = FindFrameMarker(bytes).offset + 4;
    bytes[at + 1] = static_cast<std::uint8_t>(height >> 8);
    bytes[at + 2] = static_cast<std::uint8_t>(height);
    bytes[at + 3] = static_cast<std::uint8_t>(width >> 8);
    bytes[at + 4] = static_cast<std::uint8_t>(width);
    return bytes;
}

// The file with its last scan (header and data) repeated `copies` more times before EOI.
inline std::vector<std::uint8_t> WithRepeatedLastScan(const std::vector<std::uint8_t>& bytes, int copies)
{
    const std::vector<TMarker> markers = ListMarkers(bytes);
    std::size_t lastScan = 0;
    for (const TMarker& marker : markers)
        if (marker.code == kSOS)
            lastScan = marker.offset;
    const std::size_t eoi = markers.back().offset;
    std::vector<std::uint8_t> edited(bytes.begin(), bytes.begin() + eoi);
    for (int i = 0; i < copies; ++i)
        edited.insert(edited.end(), bytes.begin() + lastScan, bytes.begin() + eoi);
    edited.insert(edited.end(), bytes.begin() + eoi, bytes.end());
    return edited;
}

// Decoding, plainly or as velmora does.

struct TDecoded {
    int width = 0;
    int height = 0;
    int fileComponents = 0;  // as the frame has them
    J_COLOR_SPACE fileColorSpace = JCS_UNKNOWN;
    bool progressive = false;
    int paletteSize = 0;            // 0 unless the colours were quantised
    std::vector<std::uint8_t> bgr;  // three samples a pixel, blue first

    TRgb At(int column, int row) const
    {
        const std::size_t at = (static_cast<std::size_t>(row) * width + column) * 3;
        return {bgr.at(at + 2), bgr.at(at + 1), bgr.at(at)};
    }
};

enum class TDecodeParameters {
    plain,               // the library's defaults, colours as blue, green, red
    velmora,             // velmora's parameters with palette mode off
    velmoraPaletteMode,  // velmora's parameters with palette mode on
};

inline void SetDecodeParameters(jpeg_decompress_struct& info, TDecodeParameters parameters)
{
    const bool gray = info.out_color_space == JCS_GRAYSCALE;
    if (parameters == TDecodeParameters::plain) {
        if (!gray)
            info.out_color_space = JCS_EXT_BGR;
        return;
    }
    info.dct_method = JDCT_FLOAT;
    info.do_block_smoothing = TRUE;
    info.do_fancy_upsampling = TRUE;
    if (gray || parameters == TDecodeParameters::velmoraPaletteMode) {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = 236;
    } else {
        info.out_color_space = JCS_EXT_BGR;
    }
}

// The samples of one pixel of the library's output as blue, green, red.
inline void ToBgr(const jpeg_decompress_struct& info, const std::uint8_t* in, std::uint8_t* out)
{
    if (info.quantize_colors) {
        const bool gray = info.out_color_components == 1;
        out[0] = info.colormap[gray ? 0 : 2][*in];
        out[1] = info.colormap[gray ? 0 : 1][*in];
        out[2] = info.colormap[0][*in];
    } else if (info.out_color_components == 1) {
        out[0] = out[1] = out[2] = *in;
    } else {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
    }
}

// Decodes a whole JPEG file; throws with the library's message when it cannot.
inline TDecoded DecodeJpeg(const std::vector<std::uint8_t>& bytes,
                           TDecodeParameters parameters = TDecodeParameters::plain)
{
    TErrorTrap trap;
    jpeg_decompress_struct info{};
    info.err = &trap.pub;
    TDecoded decoded;
    std::vector<std::uint8_t> row;
    const bool started = CompletedUnderTrap(trap, [&] {
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        SetDecodeParameters(info, parameters);
        jpeg_start_decompress(&info);
    });
    if (started) {
        decoded.width = static_cast<int>(info.output_width);
        decoded.height = static_cast<int>(info.output_height);
        decoded.fileComponents = info.num_components;
        decoded.fileColorSpace = info.jpeg_color_space;
        decoded.progressive = info.progressive_mode;
        decoded.paletteSize = info.quantize_colors ? info.actual_number_of_colors : 0;
        decoded.bgr.resize(static_cast<std::size_t>(decoded.width) * decoded.height * 3);
        row.resize(static_cast<std::size_t>(decoded.width) * info.output_components);
    }
    const bool done = started && CompletedUnderTrap(trap, [&] {
        while (info.output_scanline < info.output_height) {
            std::uint8_t* out = decoded.bgr.data() + static_cast<std::size_t>(info.output_scanline) * decoded.width * 3;
            JSAMPROW rowPointer = row.data();
            jpeg_read_scanlines(&info, &rowPointer, 1);
            for (int column = 0; column < decoded.width; ++column)
                ToBgr(info, row.data() + column * info.output_components, out + column * 3);
        }
        jpeg_finish_decompress(&info);
    });
    jpeg_destroy_decompress(&info);
    if (!done)
        throw std::runtime_error(std::string("decoding failed: ") + trap.message);
    return decoded;
}

}  // namespace TestJpeg
