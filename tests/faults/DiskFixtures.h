// Fixtures of the fault tests on disk: a tiny file system that runs full, and a folder's listing.
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"

// A tmpfs mounted over a new folder for one test; options as mount(8) takes them, for example
// "size=64k" or "size=1m,nr_inodes=2". Declare it after the TTempDir that holds the folder, so
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

// The names in a folder, sorted: shows what was left behind. Without the fillers that a
// TTmpfsMount made, unless asked for them.
inline std::vector<std::string> FolderEntries(const std::string& folder, bool withFillers = true)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (withFillers || (name != "filler" && name.rfind("inode-", 0) != 0))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}
