// A source file read a piece at a time, for decoders that need only part of a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class TSourceFile {
public:
    // Opens the regular file at path for reading. Throws EFOpenError ("ファイル %s は開けません")
    // when it cannot be opened or is no regular file, as ReadWholeFile does.
    explicit TSourceFile(const std::string& path);
    ~TSourceFile();
    TSourceFile(const TSourceFile&) = delete;
    TSourceFile& operator=(const TSourceFile&) = delete;

    // Reads up to capacity bytes into data: the count read, 0 at the end of the file, nothing
    // when the system reports a read error.
    std::optional<std::size_t> ReadSome(std::uint8_t* data, std::size_t capacity);

    // Closes the file now; reads after this give the end of the file.
    void Close();

private:
    // Wide enough for a descriptor here and a HANDLE on Windows; -1 once closed.
    std::intptr_t handle = -1;
};
