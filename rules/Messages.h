// Every text that velmora shows, in one place, composed with its argument.
#pragma once

#include <cstdint>
#include <string>

namespace Messages {

std::string NotAnInteger(const std::string& text);          // '%s' は整数ではありません
std::string CannotOpenFile(const std::string& path);         // ファイル %s は開けません
std::string StreamReadError();                               // ストリームからの読み込みエラー
std::string StreamOutOfMemory();                             // メモリストリームの拡大中に…
std::string JpegError(int code);                             // JPEG エラー #%d
std::string OutOfMemory();                                   // メモリが足りません
std::string OutOfResources();                                // システム リソースが足りません
std::string CannotCreateFile(const std::string& path);       // ファイル %s を作成できません
std::string CannotWriteFile(const std::string& path);        // ファイル %s に書き込めません
std::string UnsupportedColorModel(const std::string& path);  // ファイル %s の色形式には…
std::string InvalidCropSize(std::int32_t width, std::int32_t height);
std::string PictureTooLarge(const std::string& path, std::int64_t width, std::int64_t height);
std::string CannotWriteSettings(const std::string& path);    // %s に書き込めません
std::string Instruction();                                   // the save button's message
std::string NeedsDisplay();                                  // no display and no files

}  // namespace Messages
