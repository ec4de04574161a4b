#include "DisplayProbe.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct TLibraryCloser {
    void operator()(void* library) const { dlclose(library); }
};

// Opens a connection with the X library itself, so that every form of DISPLAY and the
// server's access control are judged as the toolkit will judge them. Where the library is
// missing, the toolkit cannot use X either.
bool XServerAccepts()
{
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0')
        return false;
    const std::unique_ptr<void, TLibraryCloser> xcb(dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL));
    if (!xcb)
        return false;
    using TConnect = void* (*)(const char*, int*);
    using TConnectionHasError = int (*)(void*);
    using TDisconnect = void (*)(void*);
    auto connect = reinterpret_cast<TConnect>(dlsym(xcb.get(), "xcb_connect"));
    auto hasError = reinterpret_cast<TConnectionHasError>(dlsym(xcb.get(), "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<TDisconnect>(dlsym(xcb.get(), "xcb_disconnect"));
    if (connect == nullptr || hasError == nullptr || disconnect == nullptr)
        return false;
    void* connection = connect(nullptr, nullptr);
    // xcb_connect returns an error object rather than null; it must be freed all the same.
    const bool accepted = connection != nullptr && hasError(connection) == 0;
    if (connection != nullptr)
        disconnect(connection);
    return accepted;
}

std::string WaylandSocketPath()
{
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (name == nullptr || name[0] == '\0')
        return {};
    if (name[0] == '/')
        return name;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] == '\0')
        return {};
    return std::string(runtime) + "/" + name;
}

struct TDescriptor {
    explicit TDescriptor(int fd) : fd(fd) {}
    ~TDescriptor()
    {
        if (fd >= 0)
            close(fd);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int fd;
};

bool WaylandCompositorAccepts()
{
    const std::string path = WaylandSocketPath();
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof(address.sun_path))
        return false;
    const TDescriptor socketFd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socketFd.fd < 0)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return connect(socketFd.fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

}  // namespace

TDisplayKind ReachableDisplay()
{
    if (XServerAccepts())
        return TDisplayKind::X11;
    if (WaylandCompositorAccepts())
        return TDisplayKind::Wayland;
    return TDisplayKind::None;
}
