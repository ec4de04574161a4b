#include "JpegRegionSource.h"

#include <jerror.h>

namespace {

// Large enough that a 24-megapixel photo takes a few dozen reads, small enough to stay in
// the cache.
constexpr std::size_t kBufferSize = 128 * 1024;

// What the library reads when the data ends early: an end-of-image marker, as its own file
// sources insert.
const JOCTET kFakeEndOfImage[] = {0xFF, JPEG_EOI};

}  // namespace

TJpegFileSource::TJpegFileSource(const std::string& path) : file(path), buffer(kBufferSize)
{
    pub.init_source = Start;
    pub.fill_input_buffer = Fill;
    pub.skip_input_data = Skip;
    pub.resync_to_restart = jpeg_resync_to_restart;
    pub.term_source = Terminate;
}

void TJpegFileSource::AttachTo(jpeg_decompress_struct& info)
{
    info.src = &pub;
    pub.next_input_byte = nullptr;
    pub.bytes_in_buffer = 0;
}

TJpegFileSource& TJpegFileSource::Of(j_decompress_ptr info)
{
    return *reinterpret_cast<TJpegFileSource*>(info->src);
}

void TJpegFileSource::Start(j_decompress_ptr info) { Of(info).startOfFile = true; }

// Called by the library, which must never see an exception: failures go through its own error
// exit or, for a failed read, look like the end of the data.
boolean TJpegFileSource::Fill(j_decompress_ptr info)
{
    TJpegFileSource& source = Of(info);
    const std::optional<std::size_t> got = source.file.ReadSome(source.buffer.data(), source.buffer.size());
    if (!got)
        source.readFailed = true;
    if (got && *got > 0) {
        source.pub.next_input_byte = source.buffer.data();
        source.pub.bytes_in_buffer = *got;
        source.startOfFile = false;
        return TRUE;
    }
    if (source.startOfFile && got)
        ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    source.pub.next_input_byte = kFakeEndOfImage;
    source.pub.bytes_in_buffer = sizeof kFakeEndOfImage;
    return TRUE;
}

void TJpegFileSource::Skip(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    TJpegFileSource& source = Of(info);
    while (count > static_cast<long>(source.pub.bytes_in_buffer)) {
        count -= static_cast<long>(source.pub.bytes_in_buffer);
        Fill(info);  // never suspends: at the end it hands over the fake end-of-image
    }
    source.pub.next_input_byte += count;
    source.pub.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void TJpegFileSource::Terminate(j_decompress_ptr) {}
