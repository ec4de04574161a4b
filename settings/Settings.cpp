#include "Settings.h"

#include "Process.h"
#include "TIniFile.h"

namespace {

const std::string kSection = "main";

}  // namespace

std::string SettingsFilePath() { return ProgramFolder() + "velmora.ini"; }

TStoredSettings ReadSettings(std::int32_t defaultLeft, std::int32_t defaultTop)
{
    return ReadSettingsFrom(SettingsFilePath(), defaultLeft, defaultTop);
}

TStoredSettings ReadSettingsFrom(const std::string& iniPath, std::int32_t defaultLeft,
                                 std::int32_t defaultTop)
{
    const TIniFile ini(iniPath);
    TStoredSettings settings;
    settings.left = ini.ReadInteger(kSection, "left", defaultLeft);
    settings.top = ini.ReadInteger(kSection, "top", defaultTop);
    settings.x = ini.ReadString(kSection, "x", "0");
    settings.y = ini.ReadString(kSection, "y", "0");
    settings.xx = ini.ReadString(kSection, "xx", "100");
    settings.yy = ini.ReadString(kSection, "yy", "100");
    settings.nameBottom = ini.ReadString(kSection, "name_bottom", "_x");
    settings.nameTop = ini.ReadString(kSection, "name_top", "");
    settings.komoji = ini.ReadBool(kSection, "komoji", false);
    return settings;
}

void WriteSettings(const TStoredSettings& settings) { WriteSettingsTo(SettingsFilePath(), settings); }

void WriteSettingsTo(const std::string& iniPath, const TStoredSettings& settings)
{
    // Nine separate writes, changed or not: a refusal stops here and keeps the ones before it.
    TIniFile ini(iniPath);
    ini.WriteInteger(kSection, "left", settings.left);
    ini.WriteInteger(kSection, "top", settings.top);
    ini.WriteString(kSection, "x", settings.x);
    ini.WriteString(kSection, "y", settings.y);
    ini.WriteString(kSection, "xx", settings.xx);
    ini.WriteString(kSection, "yy", settings.yy);
    ini.WriteString(kSection, "name_bottom", settings.nameBottom);
    ini.WriteString(kSection, "name_top", settings.nameTop);
    ini.WriteBool(kSection, "komoji", settings.komoji);
}
