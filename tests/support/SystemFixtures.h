// Fixtures that need the system's help: an unprivileged helper process, a tiny file system that
// runs full, a change of the current folder and a file's permission bits.
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TestFiles.h"

// The user and group that an unprivileged helper runs as.
constexpr unsigned kNobodyId = 65534;

struct TProbeResult {
    int exitStatus = -1;
    std::string output;  // standard output and standard error together
};

// Runs a test helper program as the user nobody, from a copy in a folder that user may enter
// (the build folder may lie below one it may not). The fixtures belong to root, so that the
// helper meets files and folders of another user.
class TUnprivilegedRunner {
public:
    explicit TUnprivilegedRunner(const std::string& probePath)
    {
        chmod(home.Path().c_str(), 0755);
        probe = home / "probe";
        std::filesystem::copy_file(probePath, probe);
        chmod(probe.c_str(), 0755);
        if (geteuid() == 0)
            setpriv = FindInPath("setpriv");
    }

    // False without root or without setpriv: then no case can run as another user.
    bool Available() const { return setpriv.has_value(); }

    TProbeResult Run(const std::vector<std::string>& arguments) const
    {
        std::vector<std::string> command = {*setpriv, "--reuid=" + std::to_string(kNobodyId),
                                            "--regid=" + std::to_string(kNobodyId), "--clear-groups",
                                            probe};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return RunCapturing(command);
    }

private:
    static TProbeResult RunCapturing(const std::vector<std::string>& command)
    {
        std::vector<char*> argv;
        for (const std::string& part : command)
            argv.push_back(const_cast<char*>(part.c_str()));
        argv.push_back(nullptr);
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return {};
        const pid_t child = fork();
        if (child == 0) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            dup2(pipeEnds[1], STDERR_FILENO);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(pipeEnds[1]);
        TProbeResult result;
        char buffer[4096];
        for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                break;
            result.output.append(buffer, static_cast<std::size_t>(got));
        }
        close(pipeEnds[0]);
        int status = 0;
        if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
            result.exitStatus = WEXITSTATUS(status);
        return result;
    }

    TTempDir home;
    std::string probe;
    std::optional<std::string> setpriv;
};

// A tmpfs mounted over a new folder for one test; options as mount(8) takes them, for example
// "size=64k" or "size=1m,nr_inodes=2". Mounting needs privileges that not every machine grants;
// Mounted() tells whether it worked. Declare it after the TTempDir that holds the folder, so
// that it is unmounted before the folder is removed.
class TTmpfsMount {
public:
    TTmpfsMount(const std::string& folder, const std::string& options) : folder(folder)
    {
        mkdir(folder.c_str(), 0755);
        mounted = mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (!mounted)
            refusal = std::strerror(errno);
    }
    ~TTmpfsMount()
    {
        if (mounted)
            umount2(folder.c_str(), MNT_DETACH);
    }
    TTmpfsMount(const TTmpfsMount&) = delete;
    TTmpfsMount& operator=(const TTmpfsMount&) = delete;

    bool Mounted() const { return mounted; }
    const std::string& Refusal() const { return refusal; }

    // Fills the free room with the file "filler", then gives back about freeBytes of it (the
    // file system counts in pages of 4096 bytes).
    void FillLeaving(off_t freeBytes) const
    {
        const std::string filler = folder + "/filler";
        const int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::vector<char> page(4096, 'f');
        off_t written = 0;
        for (ssize_t put; (put = write(fd, page.data(), page.size())) > 0;)
            written += put;
        close(fd);
        [[maybe_unused]] const int ignored = truncate(filler.c_str(), std::max<off_t>(0, written - freeBytes));
    }

    // Creates empty files "inode-1", "inode-2"... until the file system refuses one more, so
    // that no new file can be made, however the kernel counts the folder's own inode.
    void UseUpInodes() const
    {
        for (int i = 1; i < 100000; ++i) {
            const std::string name = folder + "/inode-" + std::to_string(i);
            const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            if (fd < 0)
                return;
            close(fd);
        }
    }

private:
    std::string folder;
    bool mounted = false;
    std::string refusal;
};

// A tmpfs of a few pages in a temporary folder of its own, so that a write can run out of room.
class TSmallDisk {
public:
    explicit TSmallDisk(const std::string& size) : disk(folder.Path(), "size=" + size) {}

    bool Mounted() const { return disk.Mounted(); }
    const std::string& Path() const { return folder.Path(); }
    std::string operator/(const std::string& name) const { return folder / name; }
    void FillLeaving(off_t freeBytes) const { disk.FillLeaving(freeBytes); }

private:
    TTempDir folder;  // declared first: unmounted before it is removed
    TTmpfsMount disk;
};

// Changes the current folder for one test and changes it back afterwards.
class TCurrentFolder {
public:
    explicit TCurrentFolder(const std::string& folder) : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~TCurrentFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
    }
    TCurrentFolder(const TCurrentFolder&) = delete;
    TCurrentFolder& operator=(const TCurrentFolder&) = delete;

private:
    std::filesystem::path previous;
};

inline bool IsFolder(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates the folder with exactly these permission bits, whatever the umask.
inline void MakeFolder(const std::string& path, mode_t mode)
{
    std::filesystem::create_directory(path);
    chmod(path.c_str(), mode);
}

// Writes the file, then gives it exactly these permission bits.
inline void WriteTextWithMode(const std::string& path, const std::string& text, mode_t mode)
{
    WriteText(path, text);
    chmod(path.c_str(), mode);
}

inline mode_t PermissionBits(const std::string& path)
{
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}
