#include "FileSearch.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <memory>

#include "PathRules.h"

namespace {

struct TDirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using TDirHandle = std::unique_ptr<DIR, TDirCloser>;

bool HasWildcards(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

// The search knows only * and ?; every other character, "[" and the backslash included, stands
// for itself. fnmatch gets no escapes, and each "[" becomes a set that holds only "[" itself.
std::string FnmatchPattern(const std::string& name)
{
    std::string pattern;
    for (char c : name) {
        if (c == '[')
            pattern += "[[]";
        else
            pattern += c;
    }
    return pattern;
}

bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The folder to list for a path: its text up to the last separator, "." when it has none.
std::string SearchFolder(const std::string& path)
{
    const std::size_t cut = path.rfind('/');
    if (cut == std::string::npos)
        return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

std::string EntryPath(const std::string& folder, const char* name)
{
    return folder == "/" ? "/" + std::string(name) : folder + "/" + name;
}

// The first entry in name order whose name matches the pattern.
std::optional<std::string> FindMatching(const std::string& folder, const std::string& pattern)
{
    TDirHandle dir(opendir(folder.c_str()));
    if (!dir)
        return std::nullopt;
    const std::string fnmatchPattern = FnmatchPattern(pattern);
    std::optional<std::string> first;
    while (const dirent* entry = readdir(dir.get())) {
        if (IsDotEntry(entry->d_name) ||
            fnmatch(fnmatchPattern.c_str(), entry->d_name, FNM_NOESCAPE | FNM_CASEFOLD) != 0)
            continue;
        if (!first || entry->d_name < *first)
            first = entry->d_name;
    }
    return first;
}

// The name under which the folder stores the entry that the path names. The entry is found by
// its identity, so a case-insensitive file system answers with the name in its stored case.
std::optional<std::string> FindByIdentity(const std::string& folder, const std::string& name,
                                          const struct stat& target)
{
    TDirHandle dir(opendir(folder.c_str()));
    if (!dir)
        return name;  // the path names an entry, but its folder cannot be listed: keep the name
    std::optional<std::string> found;
    while (const dirent* entry = readdir(dir.get())) {
        if (IsDotEntry(entry->d_name) || entry->d_ino != target.st_ino)
            continue;
        struct stat candidate {};
        if (lstat(EntryPath(folder, entry->d_name).c_str(), &candidate) != 0)
            continue;
        if (candidate.st_dev != target.st_dev || candidate.st_ino != target.st_ino)
            continue;
        // A name spelled as given wins over another hard link to the same file.
        if (entry->d_name == name)
            return name;
        if (!found)
            found = entry->d_name;
    }
    return found ? found : std::optional<std::string>(name);
}

}  // namespace

std::optional<std::string> FindStoredName(const std::string& path)
{
    const std::string name = NamePart(path);
    if (name.empty() || name == "." || name == "..")
        return std::nullopt;
    const std::string folder = SearchFolder(path);
    // "*" and "?" may be part of a real name here: an entry of that very name wins over the
    // pattern, so a dropped file is never exchanged for another one.
    struct stat target {};
    if (lstat(path.c_str(), &target) == 0)
        return FindByIdentity(folder, name, target);
    if (HasWildcards(name))
        return FindMatching(folder, name);
    return std::nullopt;
}
