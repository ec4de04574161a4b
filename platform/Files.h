// Whole-file reading and safe replacement, the only file access the batch run needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the regular file at path whole. Throws EFOpenError ("ファイル %s は開けません") when it
// cannot be opened for reading or is no regular file, EReadError when fewer bytes arrive than
// its size, and EOutOfMemory (the memory stream's message) when its bytes do not fit in memory.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

// Replaces the file at path with bytes, or creates it, so that a failure at any point leaves a
// file that was there exactly as it was and no partial file behind. A replaced file keeps its
// permission bits. Throws EFCreateError ("ファイル %s を作成できません") when the file may not
// be written (it is read-only, its folder is missing or refuses, the name is refused) and
// EWriteError ("ファイル %s に書き込めません") when the bytes cannot all be written.
void ReplaceFileContents(const std::string& path, const std::vector<std::uint8_t>& bytes);
