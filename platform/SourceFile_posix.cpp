#include "SourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Errors.h"
#include "Messages.h"

TSourceFile::TSourceFile(const std::string& path)
{
    // O_NONBLOCK keeps a FIFO from blocking the open; only regular files are read.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        throw EFOpenError(Messages::CannotOpenFile(path));
    handle = fd;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        Close();
        throw EFOpenError(Messages::CannotOpenFile(path));
    }
}

TSourceFile::~TSourceFile() { Close(); }

std::optional<std::size_t> TSourceFile::ReadSome(std::uint8_t* data, std::size_t capacity)
{
    if (handle < 0)
        return 0;
    for (;;) {
        const ssize_t got = read(static_cast<int>(handle), data, capacity);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            return std::nullopt;
    }
}

void TSourceFile::Close()
{
    if (handle < 0)
        return;
    close(static_cast<int>(handle));
    handle = -1;
}
