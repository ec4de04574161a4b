// Damaged variants of valid JPEG files, as cameras, cards and downloads leave them: files cut
// short anywhere, bytes flipped anywhere, and markers whose fields or order are wrong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TestJpeg.h"

namespace DamagedJpegs {

using TBytes = std::vector<std::uint8_t>;

struct TDamaged {
    std::string what;  // how the file was damaged, for the test's messages
    TBytes bytes;
};

inline TBytes BaselineColour()
{
    TestJpeg::TFixture fixture = TestJpeg::Color(96, 64);
    fixture.ripple = 20;
    return TestJpeg::MakeJpeg(fixture);
}

inline TBytes WithRestarts()
{
    TestJpeg::TFixture fixture = TestJpeg::Color(96, 64);
    fixture.restartRows = 1;
    return TestJpeg::MakeJpeg(fixture);
}

inline TBytes ProgressiveColour()
{
    TestJpeg::TFixture fixture = TestJpeg::Color(96, 64);
    fixture.progressive = true;
    fixture.ripple = 20;
    return TestJpeg::MakeJpeg(fixture);
}

inline TBytes Gray()
{
    TestJpeg::TFixture fixture = TestJpeg::Color(64, 48);
    fixture.kind = TestJpeg::TKind::gray;
    return TestJpeg::MakeJpeg(fixture);
}

// Where the first segment with the code starts (its 0xFF).
inline std::size_t At(const TBytes& bytes, int code) { return TestJpeg::FindMarker(bytes, code).offset; }

// The first segment of the code with one byte of its payload (what follows the length) set.
inline TBytes SetPayload(TBytes bytes, int code, std::size_t index, std::uint8_t value)
{
    bytes.at(At(bytes, code) + 4 + index) = value;
    return bytes;
}

inline TBytes SetLength(TBytes bytes, int code, int length)
{
    const std::size_t at = At(bytes, code);
    bytes.at(at + 2) = static_cast<std::uint8_t>(length >> 8);
    bytes.at(at + 3) = static_cast<std::uint8_t>(length);
    return bytes;
}

inline TBytes Recode(TBytes bytes, int code, int newCode)
{
    bytes.at(At(bytes, code) + 1) = static_cast<std::uint8_t>(newCode);
    return bytes;
}

// Every segment of the code taken out, headers only: what follows them stays.
inline TBytes Removed(const TBytes& bytes, int code)
{
    TBytes edited;
    std::size_t copied = 0;
    for (const TestJpeg::TMarker& marker : TestJpeg::ListMarkers(bytes)) {
        if (marker.code != code)
            continue;
        const std::size_t length = TestJpeg::StandsAlone(code) ? 2 : 4 + marker.payload.size();
        edited.insert(edited.end(), bytes.begin() + copied, bytes.begin() + marker.offset);
        copied = marker.offset + length;
    }
    edited.insert(edited.end(), bytes.begin() + copied, bytes.end());
    return edited;
}

inline TBytes InsertedAt(TBytes bytes, std::size_t at, const TBytes& inserted)
{
    bytes.insert(bytes.begin() + at, inserted.begin(), inserted.end());
    return bytes;
}

inline TBytes Cut(const TBytes& bytes, std::size_t size)
{
    return TBytes(bytes.begin(), bytes.begin() + std::min(size, bytes.size()));
}

// Everything after the first scan header overwritten with one value, up to the last two bytes.
inline TBytes ScanFilledWith(TBytes bytes, std::uint8_t value)
{
    const TestJpeg::TMarker sos = TestJpeg::FindMarker(bytes, TestJpeg::kSOS);
    const std::size_t begin = sos.offset + 4 + sos.payload.size();
    for (std::size_t i = begin; i + 2 < bytes.size(); ++i)
        bytes[i] = value;
    return bytes;
}

// Files cut short: at even steps through each file and around the start of every marker.
inline std::vector<TDamaged> Truncations()
{
    std::vector<TDamaged> damaged;
    const struct {
        const char* name;
        TBytes bytes;
    } bases[] = {{"baseline", BaselineColour()}, {"progressive", ProgressiveColour()}, {"gray", Gray()}};
    for (const auto& base : bases) {
        const std::size_t size = base.bytes.size();
        for (int step = 0; step < 16; ++step) {
            const std::size_t cut = size * static_cast<std::size_t>(step) / 16;
            damaged.push_back({std::string(base.name) + " cut at " + std::to_string(cut), Cut(base.bytes, cut)});
        }
        for (const TestJpeg::TMarker& marker : TestJpeg::ListMarkers(base.bytes)) {
            if (marker.offset == 0 || marker.code == TestJpeg::kEOI)
                continue;
            for (const std::size_t into : {std::size_t{1}, std::size_t{3}}) {
                const std::size_t cut = marker.offset + into;
                damaged.push_back({std::string(base.name) + " cut " + std::to_string(into) + " into the marker at " +
                                       std::to_string(marker.offset),
                                   Cut(base.bytes, cut)});
            }
        }
    }
    damaged.push_back({"one byte", {0xFF}});
    damaged.push_back({"SOI alone", {0xFF, 0xD8}});
    damaged.push_back({"SOI and EOI", {0xFF, 0xD8, 0xFF, 0xD9}});
    return damaged;
}

// Single bytes changed at places spread over the files by a fixed sequence, so every run
// meets the same damage.
inline std::vector<TDamaged> Flips(int count)
{
    std::vector<TDamaged> damaged;
    const TBytes bases[] = {BaselineColour(), ProgressiveColour(), Gray(), WithRestarts()};
    const char* const names[] = {"baseline", "progressive", "gray", "restarts"};
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int i = 0; i < count; ++i) {
        const int base = i % 4;
        TBytes bytes = bases[base];
        // Half of the changes land in the first 700 bytes, where the headers are.
        const std::size_t span = i % 2 == 0 ? std::min<std::size_t>(700, bytes.size()) : bytes.size();
        const std::size_t at = 2 + next() % (span - 2);
        const std::uint8_t before = bytes[at];
        switch (next() % 4) {
        case 0: bytes[at] = static_cast<std::uint8_t>(before ^ 0xFF); break;
        case 1: bytes[at] = 0xFF; break;
        case 2: bytes[at] = 0x00; break;
        default: bytes[at] = static_cast<std::uint8_t>(before ^ (1u << (next() % 8))); break;
        }
        damaged.push_back({std::string(names[base]) + " byte " + std::to_string(at) + " " + std::to_string(before) +
                               " -> " + std::to_string(bytes[at]),
                           bytes});
    }
    return damaged;
}

// Markers with wrong fields, wrong lengths, wrong codes or in the wrong places.
inline std::vector<TDamaged> MarkerDamage()
{
    using namespace TestJpeg;
    std::vector<TDamaged> damaged;
    const TBytes dri{0xFF, kDRI, 0x00, 0x04, 0x00, 0x01};
    const TBytes comment{0xFF, 0xFE, 0x40, 0x00, 'x'};  // claims far more than the file holds
    for (const bool progressive : {false, true}) {
        const TBytes b = progressive ? ProgressiveColour() : BaselineColour();
        const int sof = progressive ? kSOF2 : kSOF0;
        const std::string kind = progressive ? "progressive: " : "baseline: ";
        const struct {
            const char* what;
            TBytes bytes;
        } edits[] = {
            {"frame width 0", SetPayload(SetPayload(b, sof, 3, 0), sof, 4, 0)},
            {"frame height 0", SetPayload(SetPayload(b, sof, 1, 0), sof, 2, 0)},
            {"frame 1 x 1", SetPayload(SetPayload(b, sof, 2, 1), sof, 4, 1)},
            {"frame 30000 x 6000", WithClaimedSize(b, 30000, 6000)},
            {"frame 65535 x 65535", WithClaimedSize(b, 65535, 65535)},
            {"frame precision 12", SetPayload(b, sof, 0, 12)},
            {"frame precision 0", SetPayload(b, sof, 0, 0)},
            {"frame of 0 components", SetPayload(b, sof, 5, 0)},
            {"frame of 2 components", SetPayload(b, sof, 5, 2)},
            {"frame of 4 components", SetPayload(b, sof, 5, 4)},
            {"frame of 255 components", SetPayload(b, sof, 5, 255)},
            {"Y sampled 0 x 0", SetPayload(b, sof, 7, 0x00)},
            {"Y sampled 5 x 5", SetPayload(b, sof, 7, 0x55)},
            {"Y sampled 4 x 4", SetPayload(b, sof, 7, 0x44)},
            {"Y sampled 1 x 3", SetPayload(b, sof, 7, 0x13)},
            {"Cb sampled 2 x 2 like Y", SetPayload(b, sof, 10, 0x22)},
            {"Cr sampled 4 x 1", SetPayload(b, sof, 13, 0x41)},
            {"Y quantised by missing table 3", SetPayload(b, sof, 8, 3)},
            {"Y quantised by table 9", SetPayload(b, sof, 8, 9)},
            {"two components with the id 1", SetPayload(b, sof, 9, 1)},
            {"frame length 8", SetLength(b, sof, 8)},
            {"frame length 0", SetLength(b, sof, 0)},
            {"frame length 65535", SetLength(b, sof, 65535)},
            {"frame recoded as lossless (SOF3)", Recode(b, sof, 0xC3)},
            {"frame recoded as arithmetic (SOF9)", Recode(b, sof, 0xC9)},
            {"frame recoded as hierarchical (SOF5)", Recode(b, sof, 0xC5)},
            {"frame recoded as JPG (0xC8)", Recode(b, sof, 0xC8)},
            {"frame recoded as the other kind", Recode(b, sof, progressive ? kSOF0 : kSOF2)},
            {"no frame header", Removed(b, sof)},
            {"no quantisation tables", Removed(b, kDQT)},
            {"quantisation table number 5", SetPayload(b, kDQT, 0, 0x05)},
            {"quantisation table of 16-bit values", SetPayload(b, kDQT, 0, 0x10)},
            {"quantisation table precision 7", SetPayload(b, kDQT, 0, 0x70)},
            {"quantisation table length 0", SetLength(b, kDQT, 0)},
            {"quantisation table length 3", SetLength(b, kDQT, 3)},
            {"no Huffman tables", Removed(b, kDHT)},
            {"Huffman code counts of 255", SetPayload(SetPayload(b, kDHT, 1, 255), kDHT, 2, 255)},
            {"Huffman table of 3 one-bit codes", SetPayload(b, kDHT, 1, 3)},
            {"Huffman table class 2", SetPayload(b, kDHT, 0, 0x20)},
            {"Huffman table number 4", SetPayload(b, kDHT, 0, 0x04)},
            {"Huffman table length 0", SetLength(b, kDHT, 0)},
            {"Huffman table length 65535", SetLength(b, kDHT, 65535)},
            {"no scan header", Removed(b, kSOS)},
            {"scan of 0 components", SetPayload(b, kSOS, 0, 0)},
            {"scan of 4 components", SetPayload(b, kSOS, 0, 4)},
            {"scan of component 9", SetPayload(b, kSOS, 1, 9)},
            {"scan tables 15 and 15", SetPayload(b, kSOS, 2, 0xFF)},
            {"scan length 0", SetLength(b, kSOS, 0)},
            {"scan length 65535", SetLength(b, kSOS, 65535)},
            {"all after the first scan header 0x00", ScanFilledWith(b, 0x00)},
            {"all after the first scan header 0xFE", ScanFilledWith(b, 0xFE)},
            {"all after the first scan header 0xFF", ScanFilledWith(b, 0xFF)},
            {"no start of image", TBytes(b.begin() + 2, b.end())},
            {"start of image twice", InsertedAt(b, 2, {0xFF, kSOI})},
            {"end of image right after the start", InsertedAt(b, 2, {0xFF, kEOI})},
            {"end of image before the scan", InsertedAt(b, At(b, kSOS), {0xFF, kEOI})},
            {"no end of image", Removed(b, kEOI)},
            {"JFIF length 0", SetLength(b, kAPP0, 0)},
            {"JFIF length 1", SetLength(b, kAPP0, 1)},
            {"JFIF length 65535", SetLength(b, kAPP0, 65535)},
            {"comment longer than the file", InsertedAt(b, 2, comment)},
            {"restart interval 1 without restart markers", InsertedAt(b, At(b, kSOS), dri)},
            {"marker TEM before the frame", InsertedAt(b, At(b, sof), {0xFF, 0x01})},
            {"a run of fill bytes before the frame", InsertedAt(b, At(b, sof), TBytes(300, 0xFF))},
            {"orientation 200 in an Exif block", InsertExifOrientation(b, 200)},
            {"the last scan 40 more times", WithRepeatedLastScan(b, 40)},
        };
        for (const auto& edit : edits)
            damaged.push_back({kind + edit.what, edit.bytes});
    }
    const TBytes p = ProgressiveColour();
    // The first scan's field of successive approximation at index 9: three components before it.
    damaged.push_back({"progressive: the first scan refines bits never sent", SetPayload(p, kSOS, 9, 0x21)});
    const TBytes r = WithRestarts();
    damaged.push_back({"restarts: a restart marker out of order", Recode(r, 0xD0, 0xD5)});
    damaged.push_back({"restarts: a restart marker missing", Removed(r, 0xD1)});
    damaged.push_back({"restarts: interval 0", SetPayload(SetPayload(r, kDRI, 0, 0), kDRI, 1, 0)});
    TestJpeg::TFixture cmyk = TestJpeg::Color(64, 48);
    cmyk.kind = TestJpeg::TKind::cmyk;
    damaged.push_back({"CMYK", TestJpeg::MakeJpeg(cmyk)});
    return damaged;
}

}  // namespace DamagedJpegs
