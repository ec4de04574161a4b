// Access to one INI file by full path, one value at a time.
//
// Every read looks at the file afresh and every write is a separate update of that one key, so
// nothing of the file is kept between calls. Reading never fails: a missing or unreadable file
// counts as empty.
#pragma once

#include <cstdint>
#include <string>

class TIniFile {
public:
    // Remembers the path; touches no file.
    explicit TIniFile(std::string path);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return path; }

    // The key's value when that section holds that key, otherwise the fallback. A value longer
    // than 2047 bytes arrives cut to its first 2047.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // The value when it is an integer text, otherwise the fallback.
    std::int32_t ReadInteger(const std::string& section, const std::string& key,
                             std::int32_t fallback) const;
    // ReadInteger with 1 or 0 as the fallback; true when the number is not 0.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

    // Afterwards the key in that section holds the value: an existing key's value is replaced,
    // a missing key or section is added, every other line stays as it was. A value is stored
    // up to its first line break or NUL, so it can never add lines of its own. The file is
    // replaced as a whole, never left half written. Throws EIniFileException ("%s に書き込めません",
    // the file's path) when the write is refused; the file is then as it was.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

private:
    std::string path;
};
