// The directory search: the name under which a path's entry is stored in its folder.
#pragma once

#include <optional>
#include <string>

// The stored name of the first directory entry that the path names, without any folder: on a
// case-insensitive file system its stored letter case. A name part with the wildcards * and ?
// gives the first matching entry in name order. A folder gives its own name. A path that ends
// in a separator, the root folder and a path that names nothing give no name.
std::optional<std::string> FindStoredName(const std::string& path);
