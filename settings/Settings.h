// The settings file velmora.ini beside the program: read at every start, written by the save.
#pragma once

#include <cstdint>
#include <string>

// The nine settings as the file stores them (key names in the comments).
struct TStoredSettings {
    std::int32_t left = 205;          // left: the window's left edge
    std::int32_t top = 126;           // top: the window's top edge
    std::string x = "0";              // x: horizontal start (field xx)
    std::string y = "0";              // y: vertical start (field yy)
    std::string xx = "100";           // xx: crop width (field sizeX)
    std::string yy = "100";           // yy: crop height (field sizeY)
    std::string nameBottom = "_x";    // name_bottom: suffix
    std::string nameTop;              // name_top: prefix
    bool komoji = false;              // komoji: lower-case option
};

// The program folder followed by "velmora.ini": the same file however and from wherever the
// program is started.
std::string SettingsFilePath();

// Reads the settings from section main; the window's current edges are the defaults of the
// position, and a missing file, key or a number that is no integer text gives the default.
// Never fails, and leaves no file behind. ReadSettingsFrom does the same on the given file.
TStoredSettings ReadSettings(std::int32_t defaultLeft, std::int32_t defaultTop);
TStoredSettings ReadSettingsFrom(const std::string& iniPath, std::int32_t defaultLeft,
                                 std::int32_t defaultTop);

// Writes all nine keys, changed or not, one after the other; throws EIniFileException
// ("%s に書き込めません", the file's path) at the first refused one, and the keys written
// before it keep their new values. WriteSettingsTo does the same on the given file.
void WriteSettings(const TStoredSettings& settings);
void WriteSettingsTo(const std::string& iniPath, const TStoredSettings& settings);
