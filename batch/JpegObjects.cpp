#include "JpegObjects.h"

#include <exception>

#include <jerror.h>

namespace {

// Real progressive files have a dozen scans; a few hundred means a file built to stall us.
constexpr int kMaxScans = 500;

void LimitScans(j_common_ptr common)
{
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMaxScans)
        ERREXIT(info, JERR_BAD_PROGRESSION);
}

void CreateDecompressor(void* context)
{
    jpeg_create_decompress(static_cast<j_decompress_ptr>(context));
}

void CreateCompressor(void* context) { jpeg_create_compress(static_cast<j_compress_ptr>(context)); }

constexpr std::size_t kFirstOutputSize = 64 * 1024;

TJpegVectorDestination& DestinationOf(j_compress_ptr info)
{
    return *reinterpret_cast<TJpegVectorDestination*>(info->dest);
}

// Grows the bytes to size; false when they do not fit in memory.
bool Resized(std::vector<std::uint8_t>& bytes, std::size_t size) noexcept
{
    try {
        bytes.resize(size);
    } catch (const std::exception&) {  // must not cross the library; the caller reports it there
        return false;
    }
    return true;
}

void StartOutput(j_compress_ptr info)
{
    TJpegVectorDestination& destination = DestinationOf(info);
    if (!Resized(destination.bytes, kFirstOutputSize))
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    destination.pub.next_output_byte = destination.bytes.data();
    destination.pub.free_in_buffer = destination.bytes.size();
}

// The library calls this when the whole buffer is full.
boolean GrowOutput(j_compress_ptr info)
{
    TJpegVectorDestination& destination = DestinationOf(info);
    const std::size_t used = destination.bytes.size();
    if (!Resized(destination.bytes, used * 2))
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    destination.pub.next_output_byte = destination.bytes.data() + used;
    destination.pub.free_in_buffer = destination.bytes.size() - used;
    return TRUE;
}

void EndOutput(j_compress_ptr info)
{
    TJpegVectorDestination& destination = DestinationOf(info);
    destination.bytes.resize(destination.bytes.size() - destination.pub.free_in_buffer);
}

}  // namespace

TJpegDecompressor::TJpegDecompressor()
{
    info.err = &err.pub;
    Run(CreateDecompressor, &info);
    progress.progress_monitor = LimitScans;
    info.progress = &progress;
}

// Destroy even after a failed step; the library holds its buffers until then.
TJpegDecompressor::~TJpegDecompressor() { jpeg_destroy_decompress(&info); }

TJpegVectorDestination::TJpegVectorDestination() : pub{}
{
    pub.init_destination = StartOutput;
    pub.empty_output_buffer = GrowOutput;
    pub.term_destination = EndOutput;
}

TJpegCompressor::TJpegCompressor()
{
    info.err = &err.pub;
    Run(CreateCompressor, &info);
    info.dest = &destination.pub;
}

TJpegCompressor::~TJpegCompressor() { jpeg_destroy_compress(&info); }
