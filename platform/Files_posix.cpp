#include "Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>

#include "Errors.h"
#include "Messages.h"

namespace {

// 1 GiB: well above the largest JPEG of a picture velmora can decode.
constexpr off_t kMaxWholeFileBytes = off_t{1} << 30;

// A descriptor with one owner; closing it is the owner's last act.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd = -1) : fd(fd) {}
    ~TFileDescriptor()
    {
        if (fd >= 0)
            close(fd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int get() const { return fd; }
    bool valid() const { return fd >= 0; }
    // Closes now and tells whether everything written reached the file system.
    bool CloseChecked()
    {
        const int result = close(fd);
        fd = -1;
        return result == 0;
    }

private:
    int fd;
};

// Removes a temporary file unless it has been renamed into place.
class TTemporaryFile {
public:
    explicit TTemporaryFile(std::string path) : path(std::move(path)) {}
    ~TTemporaryFile()
    {
        if (!path.empty())
            unlink(path.c_str());
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    const std::string& Path() const { return path; }
    void Keep() { path.clear(); }

private:
    std::string path;
};

bool ReadFully(int fd, std::uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = read(fd, data + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool WriteFully(int fd, const std::uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = write(fd, data + done, size - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t cut = path.rfind('/');
    if (cut == std::string::npos)
        return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

// The file a write to path lands in: a symbolic link is written through, as opening it would.
// A link that leads nowhere is refused rather than replaced by a file of its own.
std::string WriteTarget(const std::string& path)
{
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr)
        throw EFCreateError(Messages::CannotCreateFile(path));
    return resolved;
}

// An existing file that may not be replaced: a folder or other non-file, one the user may not
// write, or one without any write permission bit (read-only, which holds for root as well).
bool IsProtected(const std::string& target, const struct stat& existing)
{
    if (!S_ISREG(existing.st_mode))
        return true;
    if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return access(target.c_str(), W_OK) != 0;
}

mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path)
{
    // O_NONBLOCK keeps a FIFO from blocking the open; only regular files are read.
    TFileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (!file.valid() || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw EFOpenError(Messages::CannotOpenFile(path));
    // A file larger than any picture velmora can crop is not taken into memory at all, where
    // the system would promise the memory first and take the process down later.
    if (info.st_size > kMaxWholeFileBytes)
        throw EOutOfMemory(Messages::StreamOutOfMemory());
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {  // the file's bytes do not fit: say so in our words
        throw EOutOfMemory(Messages::StreamOutOfMemory());
    } catch (const std::length_error&) {
        throw EOutOfMemory(Messages::StreamOutOfMemory());
    }
    if (!ReadFully(file.get(), bytes.data(), bytes.size()))
        throw EReadError(Messages::StreamReadError());
    return bytes;
}

void ReplaceFileContents(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const std::string target = WriteTarget(path);
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && IsProtected(target, existing))
        throw EFCreateError(Messages::CannotCreateFile(path));

    std::string pattern = FolderOf(target) + "/.velmora-XXXXXX";
    TFileDescriptor file(mkostemp(pattern.data(), O_CLOEXEC));
    if (!file.valid())
        throw EFCreateError(Messages::CannotCreateFile(path));
    TTemporaryFile temporary(pattern);

    if (exists && (existing.st_uid != geteuid() || existing.st_gid != getegid())) {
        // Keep the old owner where we are allowed to (root replacing a user's file); where we
        // are not, the file is ours now, as any replaced file would be.
        [[maybe_unused]] const int ignored = fchown(file.get(), existing.st_uid, existing.st_gid);
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : NewFileMode();
    if (fchmod(file.get(), mode) != 0)
        throw EFCreateError(Messages::CannotCreateFile(path));
    if (!WriteFully(file.get(), bytes.data(), bytes.size()) || fsync(file.get()) != 0 ||
        !file.CloseChecked())
        throw EWriteError(Messages::CannotWriteFile(path));
    if (rename(temporary.Path().c_str(), target.c_str()) != 0)
        throw EFCreateError(Messages::CannotCreateFile(path));
    temporary.Keep();
}
