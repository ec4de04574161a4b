// Feeds a decompressor from an open source file through one buffer, refilled as the library
// asks, so a decoder that stops early reads no more of the file than it decoded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "JpegErrors.h"
#include "SourceFile.h"

class TJpegFileSource {
public:
    // Opens the file; throws EFOpenError ("ファイル %s は開けません") when it cannot.
    explicit TJpegFileSource(const std::string& path);
    TJpegFileSource(const TJpegFileSource&) = delete;
    TJpegFileSource& operator=(const TJpegFileSource&) = delete;

    // Makes this the decompressor's source; it must outlive every library call on info.
    void AttachTo(jpeg_decompress_struct& info);

    // Whether a read failed. The library has then seen the end of the data there, as for a
    // file cut short, so its outcome is not to be trusted.
    bool ReadFailed() const { return readFailed; }

    void Close() { file.Close(); }

private:
    static TJpegFileSource& Of(j_decompress_ptr info);
    static void Start(j_decompress_ptr info);
    static boolean Fill(j_decompress_ptr info);
    static void Skip(j_decompress_ptr info, long count);
    static void Terminate(j_decompress_ptr info);

    jpeg_source_mgr pub{};  // first, so the library's pointer to it also points at the whole
    TSourceFile file;
    std::vector<std::uint8_t> buffer;
    bool startOfFile = true;
    bool readFailed = false;
};
