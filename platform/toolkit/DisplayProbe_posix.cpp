#include "DisplayProbe.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct TLibraryCloser {
    void operator()(void* library) const { dlclose(library); }
};

using TLibrary = std::unique_ptr<void, TLibraryCloser>;

// A connection made with the X library itself, so that every form of DISPLAY and the server's
// access control are judged as the toolkit will judge them. Where the library is missing, the
// toolkit cannot use X either.
class TXConnection {
public:
    TXConnection()
    {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || display[0] == '\0')
            return;
        library.reset(dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL));
        if (!library)
            return;
        auto connect = reinterpret_cast<TConnect>(dlsym(library.get(), "xcb_connect"));
        auto hasError = reinterpret_cast<THasError>(dlsym(library.get(), "xcb_connection_has_error"));
        disconnect = reinterpret_cast<TDisconnect>(dlsym(library.get(), "xcb_disconnect"));
        if (connect == nullptr || hasError == nullptr || disconnect == nullptr)
            return;
        // A server whose last client just left refuses connections while it resets, so a
        // refusal is tried again a few times before it counts.
        for (int attempt = 0; attempt < kAttempts && !accepted; ++attempt) {
            if (attempt > 0) {
                disconnect(connection);
                usleep(kPauseMicroseconds);
            }
            // xcb_connect returns an error object rather than null; it is freed all the same.
            connection = connect(nullptr, nullptr);
            accepted = connection != nullptr && hasError(connection) == 0;
        }
    }
    ~TXConnection()
    {
        if (connection != nullptr)
            disconnect(connection);
    }
    TXConnection(const TXConnection&) = delete;
    TXConnection& operator=(const TXConnection&) = delete;

    bool Accepted() const { return accepted; }

private:
    static constexpr int kAttempts = 3;
    static constexpr useconds_t kPauseMicroseconds = 100'000;

    using TConnect = void* (*)(const char*, int*);
    using THasError = int (*)(void*);
    using TDisconnect = void (*)(void*);

    TLibrary library;  // declared first: it must outlive the connection
    TDisconnect disconnect = nullptr;
    void* connection = nullptr;
    bool accepted = false;
};

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

struct TDisplayProbeImpl {
    TXConnection x;
};

TDisplayProbe::TDisplayProbe() : impl(std::make_unique<TDisplayProbeImpl>())
{
    if (impl->x.Accepted())
        kind = TDisplayKind::X11;
    else if (WaylandCompositorAccepts())
        kind = TDisplayKind::Wayland;
}

TDisplayProbe::~TDisplayProbe() = default;
