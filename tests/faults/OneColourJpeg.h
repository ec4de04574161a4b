// A valid progressive JPEG file of one colour and any size, written byte by byte: a picture of
// hundreds of megapixels in a file of a few megabytes, made in milliseconds, the way a
// decompression bomb is made. Colour files are YCbCr with Y sampled 2 x 2, gray files have one
// component; a quantisation table of ones, so that every block's DC coefficient is exactly
// 8 x (sample - 128); one DC scan, then one AC scan per component of nothing but end-of-band runs.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace OneColourJpeg {

struct TYCbCr {
    int y = 0;
    int cb = 0;
    int cr = 0;
};

class TBitWriter {
public:
    explicit TBitWriter(std::vector<std::uint8_t>& out) : out(out) {}

    void Put(std::uint32_t bits, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            current = static_cast<std::uint8_t>(current << 1 | ((bits >> i) & 1));
            if (++used == 8)
                Emit();
        }
    }

    // Pads the last byte with ones, as the end of every scan is padded.
    void Flush()
    {
        while (used != 0)
            Put(1, 1);
    }

private:
    void Emit()
    {
        out.push_back(current);
        if (current == 0xFF)
            out.push_back(0x00);  // a data byte 0xFF is stuffed, so that it reads as no marker
        current = 0;
        used = 0;
    }

    std::vector<std::uint8_t>& out;
    std::uint8_t current = 0;
    int used = 0;
};

inline void PutMarker(std::vector<std::uint8_t>& out, int code, const std::vector<std::uint8_t>& payload)
{
    const std::size_t length = payload.size() + 2;
    out.insert(out.end(), {0xFF, static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(length >> 8),
                           static_cast<std::uint8_t>(length)});
    out.insert(out.end(), payload.begin(), payload.end());
}

inline std::uint8_t High(int value) { return static_cast<std::uint8_t>(value >> 8); }
inline std::uint8_t Low(int value) { return static_cast<std::uint8_t>(value); }

// The DC table: category 0 (no change from the block before) has the one-bit code 0; the
// categories 1 to 11 have the five-bit codes 10000 to 11010.
inline void PutDcCategory(TBitWriter& bits, int category)
{
    if (category == 0)
        bits.Put(0, 1);
    else
        bits.Put(0x10 + static_cast<std::uint32_t>(category - 1), 5);
}

inline int CategoryOf(int value)
{
    int category = 0;
    for (int magnitude = std::abs(value); magnitude != 0; magnitude >>= 1)
        ++category;
    return category;
}

inline void PutDcDifference(TBitWriter& bits, int difference)
{
    const int category = CategoryOf(difference);
    PutDcCategory(bits, category);
    if (category == 0)
        return;
    const int extra = difference > 0 ? difference : difference + (1 << category) - 1;
    bits.Put(static_cast<std::uint32_t>(extra), category);
}

// The AC table holds the end-of-band runs EOB0 to EOB14 (symbols 0x00 to 0xE0), each with the
// four-bit code of its number; EOBr stands for 2^r bands plus r more bits.
inline void PutEndOfBandRuns(TBitWriter& bits, long long blocks)
{
    while (blocks > 0) {
        const long long run = blocks < 32767 ? blocks : 32767;
        int r = 0;
        while ((2LL << r) <= run)
            ++r;
        bits.Put(static_cast<std::uint32_t>(r), 4);
        bits.Put(static_cast<std::uint32_t>(run - (1LL << r)), r);
        blocks -= run;
    }
}

inline int DcOf(int sample) { return 8 * (sample - 128); }

inline long long BlocksAcross(long long samples) { return (samples + 7) / 8; }

// Writes the file; gray makes it of one component holding colour.y, sampled 1 x 1. The first
// component's AC scan is sent again extraLumaScans times, as a file built to keep a decoder busy
// would send it: each pass goes over every block of the picture.
inline std::vector<std::uint8_t> Make(int width, int height, TYCbCr colour, bool gray = false,
                                      int extraLumaScans = 0)
{
    std::vector<std::uint8_t> out{0xFF, 0xD8};
    std::vector<std::uint8_t> ones(65, 1);
    ones[0] = 0;  // 8-bit table number 0
    PutMarker(out, 0xDB, ones);
    if (gray)
        PutMarker(out, 0xC2, {8, High(height), Low(height), High(width), Low(width), 1, 1, 0x11, 0});
    else
        PutMarker(out, 0xC2, {8, High(height), Low(height), High(width), Low(width), 3,  //
                              1, 0x22, 0, 2, 0x11, 0, 3, 0x11, 0});
    std::vector<std::uint8_t> dcTable{0x00, 1, 0, 0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int category = 0; category <= 11; ++category)
        dcTable.push_back(static_cast<std::uint8_t>(category));
    PutMarker(out, 0xC4, dcTable);
    std::vector<std::uint8_t> acTable{0x10, 0, 0, 0, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int r = 0; r <= 14; ++r)
        acTable.push_back(static_cast<std::uint8_t>(r << 4));
    PutMarker(out, 0xC4, acTable);

    // The DC scan: the first block of each component carries its value, all others repeat it.
    // A scan of one component has one block in each unit, three components interleave.
    const long long lumaBlocks = BlocksAcross(width) * BlocksAcross(height);
    const long long chromaBlocks = BlocksAcross((width + 1) / 2) * BlocksAcross((height + 1) / 2);
    if (gray)
        PutMarker(out, 0xDA, {1, 1, 0x00, 0, 0, 0x00});
    else
        PutMarker(out, 0xDA, {3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 0, 0x00});
    {
        TBitWriter bits(out);
        const long long units = gray ? lumaBlocks : ((width + 15) / 16) * static_cast<long long>((height + 15) / 16);
        for (long long unit = 0; unit < units; ++unit) {
            const bool first = unit == 0;
            PutDcDifference(bits, first ? DcOf(colour.y) : 0);
            if (gray)
                continue;
            for (int block = 1; block < 4; ++block)
                PutDcDifference(bits, 0);
            PutDcDifference(bits, first ? DcOf(colour.cb) : 0);
            PutDcDifference(bits, first ? DcOf(colour.cr) : 0);
        }
        bits.Flush();
    }
    // One AC scan per component, every block's bands 1 to 63 zero.
    for (int component = 1; component <= (gray ? 1 : 3); ++component) {
        for (int pass = 0; pass <= (component == 1 ? extraLumaScans : 0); ++pass) {
            PutMarker(out, 0xDA, {1, static_cast<std::uint8_t>(component), 0x00, 1, 63, 0x00});
            TBitWriter bits(out);
            PutEndOfBandRuns(bits, component == 1 ? lumaBlocks : chromaBlocks);
            bits.Flush();
        }
    }
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

}  // namespace OneColourJpeg
