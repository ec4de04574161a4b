// The owners of velmora's libjpeg objects: each creates its object with the shared error
// handling and destroys it on every path, a failure included.
#pragma once

#include <cstdint>
#include <vector>

#include "JpegErrors.h"

// A decompression object that refuses files with an absurd number of scans, whose decoding
// would otherwise take practically forever.
class TJpegDecompressor {
public:
    TJpegDecompressor();
    ~TJpegDecompressor();
    TJpegDecompressor(const TJpegDecompressor&) = delete;
    TJpegDecompressor& operator=(const TJpegDecompressor&) = delete;

    jpeg_decompress_struct* get() { return &info; }
    void Run(TJpegStep step, void* context) { RunJpegStep(err, step, context); }

private:
    TJpegErrorManager err;  // declared first, so it outlives info
    jpeg_progress_mgr progress{};
    jpeg_decompress_struct info{};
};

// Where a compression object writes: bytes in memory that grow as the library needs them.
struct TJpegVectorDestination {
    TJpegVectorDestination();
    TJpegVectorDestination(const TJpegVectorDestination&) = delete;
    TJpegVectorDestination& operator=(const TJpegVectorDestination&) = delete;

    jpeg_destination_mgr pub;  // first, so the library's pointer to it also points at the whole
    std::vector<std::uint8_t> bytes;
};

// A compression object writing into memory; TakeBytes gives what it wrote once compression
// has finished.
class TJpegCompressor {
public:
    TJpegCompressor();
    ~TJpegCompressor();
    TJpegCompressor(const TJpegCompressor&) = delete;
    TJpegCompressor& operator=(const TJpegCompressor&) = delete;

    jpeg_compress_struct* get() { return &info; }
    void Run(TJpegStep step, void* context) { RunJpegStep(err, step, context); }
    std::vector<std::uint8_t> TakeBytes() { return std::move(destination.bytes); }

private:
    TJpegErrorManager err;  // declared first, so it outlives info
    TJpegVectorDestination destination;
    jpeg_compress_struct info{};
};
