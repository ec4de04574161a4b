// Which files the batch run takes, and the names under which it writes their crops.
#pragma once

#include <string>

// The naming settings, as the window holds them when an output name is built.
struct TNamingSettings {
    std::string suffix;
    std::string prefix;
    bool lowerCase = false;
};

// folder, the separator, name; a name without folder stays relative, so that an argument
// typed without a folder names a file in the current folder and not in the root.
std::string JoinToFolder(const std::string& folder, const std::string& name);

// The path under which the batch run reads an argument: its folder part with the stored name.
std::string JoinedPath(const std::string& argument, const std::string& storedName);

// True for a path whose extension is ".jpg" in any letter case.
bool IsSelectedFile(const std::string& joinedPath);

// The output name of a selected file: without its extension, the suffix appended, the prefix
// put in front of the name, the name lower-cased if asked, and the extension ".jpg". A dot or a
// separator that the suffix or prefix brings in takes part in the later steps like any other.
std::string OutputNameFor(const std::string& joinedPath, const TNamingSettings& naming);
