// Small fixtures for tests: a fresh temporary folder, whole-file helpers, a folder's listing and
// a program's place in PATH.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A folder of its own for one test, removed with everything in it afterwards.
class TTempDir {
public:
    TTempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path = pattern;
    }
    ~TTempDir()
    {
        std::error_code ignored;
        // Give back write permission first, so that read-only fixtures can be removed.
        for (auto it = std::filesystem::recursive_directory_iterator(path, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
            chmod(it->path().c_str(), 0700);
        std::filesystem::remove_all(path, ignored);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return path; }
    std::string operator/(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline bool FileExists(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

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

// The full path of a program found in PATH, or nothing.
inline std::optional<std::string> FindInPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t begin = 0; begin <= folders.size();) {
        std::size_t end = folders.find(':', begin);
        if (end == std::string::npos)
            end = folders.size();
        const std::string candidate = folders.substr(begin, end - begin) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        begin = end + 1;
    }
    return std::nullopt;
}
