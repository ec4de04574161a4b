#include "Messages.h"

namespace Messages {

std::string NotAnInteger(const std::string& text) { return "'" + text + "' は整数ではありません"; }

std::string CannotOpenFile(const std::string& path) { return "ファイル " + path + " は開けません"; }

std::string StreamReadError() { return "ストリームからの読み込みエラー"; }

std::string StreamOutOfMemory() { return "メモリストリームの拡大中にメモリが足りなくなりました"; }

std::string JpegError(int code) { return "JPEG エラー #" + std::to_string(code); }

std::string OutOfMemory() { return "メモリが足りません"; }

std::string OutOfResources() { return "システム リソースが足りません"; }

std::string CannotCreateFile(const std::string& path) { return "ファイル " + path + " を作成できません"; }

std::string CannotWriteFile(const std::string& path) { return "ファイル " + path + " に書き込めません"; }

std::string UnsupportedColorModel(const std::string& path)
{
    return "ファイル " + path + " の色形式には対応していません";
}

std::string InvalidCropSize(std::int32_t width, std::int32_t height)
{
    return "切り抜きサイズ " + std::to_string(width) + " × " + std::to_string(height) +
           " の画像は作成できません";
}

std::string PictureTooLarge(const std::string& path, std::int64_t width, std::int64_t height)
{
    return "ファイル " + path + " の画像 " + std::to_string(width) + " × " + std::to_string(height) +
           " は大きすぎて扱えません";
}

std::string CannotWriteSettings(const std::string& path) { return path + " に書き込めません"; }

std::string Instruction() { return "対象のJPEGファイルをこのアイコンに重ねることで変換されます"; }

std::string NeedsDisplay()
{
    return "設定ウィンドウを開くにはディスプレイが必要です（JPEG ファイルを指定すると画面なしで変換できます）";
}

}  // namespace Messages
