// An in-memory picture of 24 bits per pixel (blue, green, red) or 8 bits per pixel with a
// palette, with access to its rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class TPixelFormat { pf8bit, pf24bit };

struct TPaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    TBitmap(TBitmap&&) = default;
    TBitmap& operator=(TBitmap&&) = default;

    // Makes room for width by height pixels of the format, every byte 0xFF (white in the 24-bit
    // format) and the palette emptied. A width or height of 0 gives
    // an empty picture that still records both. Throws EOutOfResources for a negative size or
    // one that cannot be held, EOutOfMemory when the memory runs out.
    void SetSize(std::int32_t width, std::int32_t height, TPixelFormat format);

    std::int32_t Width() const { return width; }
    std::int32_t Height() const { return height; }
    TPixelFormat PixelFormat() const { return format; }
    bool Empty() const { return width == 0 || height == 0; }
    int BytesPerPixel() const { return format == TPixelFormat::pf24bit ? 3 : 1; }
    std::size_t RowBytes() const { return static_cast<std::size_t>(width) * BytesPerPixel(); }

    std::uint8_t* ScanLine(std::int32_t row) { return pixels.data() + row * RowBytes(); }
    const std::uint8_t* ScanLine(std::int32_t row) const { return pixels.data() + row * RowBytes(); }

    std::vector<TPaletteEntry>& Palette() { return palette; }
    const std::vector<TPaletteEntry>& Palette() const { return palette; }

private:
    std::int32_t width = 0;
    std::int32_t height = 0;
    TPixelFormat format = TPixelFormat::pf24bit;
    std::vector<std::uint8_t> pixels;
    std::vector<TPaletteEntry> palette;
};
