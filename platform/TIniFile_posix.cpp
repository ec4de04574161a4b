#include "TIniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "Errors.h"
#include "Files.h"
#include "IniText.h"
#include "IntegerText.h"
#include "Messages.h"

namespace {

// A read buffer of 2048 bytes holds a value of 2047 and its terminating zero.
constexpr std::size_t kMaxValueLength = 2047;
// Reading stops here, so a stray huge file costs bounded time and memory.
constexpr std::size_t kMaxTextSize = 16 * 1024 * 1024;
constexpr std::size_t kReadChunk = 64 * 1024;

class TReadDescriptor {
public:
    explicit TReadDescriptor(const std::string& path)
        // O_NONBLOCK keeps a FIFO in the file's place from blocking the open.
        : fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY))
    {
    }
    ~TReadDescriptor()
    {
        if (fd >= 0)
            close(fd);
    }
    TReadDescriptor(const TReadDescriptor&) = delete;
    TReadDescriptor& operator=(const TReadDescriptor&) = delete;
    int get() const { return fd; }
    bool valid() const { return fd >= 0; }

private:
    int fd;
};

enum class TFileState { Missing, Loaded, Unusable };

struct TFileText {
    TFileState state = TFileState::Missing;
    std::string text;
    bool complete = true;  // false when the file holds more than kMaxTextSize bytes
};

// Appends up to limit bytes of the descriptor's data; false on a read error.
bool ReadUpTo(int fd, std::string& text, std::size_t limit)
{
    std::vector<char> chunk(kReadChunk);
    while (text.size() < limit) {
        const ssize_t got = read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        text.append(chunk.data(), static_cast<std::size_t>(got));
    }
    return true;
}

// The file's text as it is now. Only a regular file is read; anything else in its place, or a
// file that cannot be read, is unusable.
TFileText LoadFileText(const std::string& path)
{
    TFileText result;
    TReadDescriptor file(path);
    if (!file.valid()) {
        result.state = errno == ENOENT ? TFileState::Missing : TFileState::Unusable;
        return result;
    }
    struct stat info {};
    if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        !ReadUpTo(file.get(), result.text, kMaxTextSize + 1)) {
        result.state = TFileState::Unusable;
        result.text.clear();
        return result;
    }
    result.state = TFileState::Loaded;
    if (result.text.size() > kMaxTextSize) {
        // Keep whole lines only, so that no value is read cut short.
        result.text.resize(result.text.rfind('\n', kMaxTextSize - 1) + 1);
        result.complete = false;
    }
    return result;
}

std::vector<std::uint8_t> BytesOf(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

TIniFile::TIniFile(std::string path) : path(std::move(path)) {}

// Every write is finished, its bytes flushed, before it returns: nothing is held back to write out.
TIniFile::~TIniFile() = default;

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const
{
    const TFileText file = LoadFileText(path);
    const std::optional<std::string> value = FindIniValue(file.text, section, key);
    if (!value)
        return fallback;
    return value->substr(0, kMaxValueLength);
}

std::int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                                   std::int32_t fallback) const
{
    return StrToIntDef(ReadString(section, key, ""), fallback);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value)
{
    const TFileText file = LoadFileText(path);
    // A file that cannot be read whole cannot be rewritten without losing what it holds.
    if (file.state == TFileState::Unusable || !file.complete)
        throw EIniFileException(Messages::CannotWriteSettings(path));
    const std::string updated = SetIniValue(file.text, section, key, value);
    try {
        ReplaceFileContents(path, BytesOf(updated));
    } catch (const EFCreateError&) {  // callers know one refusal of the INI file: its own
        throw EIniFileException(Messages::CannotWriteSettings(path));
    } catch (const EWriteError&) {  // the same, for a disk that ran full
        throw EIniFileException(Messages::CannotWriteSettings(path));
    }
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value)
{
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}
