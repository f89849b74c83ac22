// Reads string values from sections (subkeys) of one registry key under HKEY_CURRENT_USER, the way
// the shell folders are looked up: the key is opened, or created when missing, with full access.
#pragma once

#include <optional>
#include <string>

#include <windows.h>

class RegIniFile {
public:
    explicit RegIniFile(const std::string& keyPath);
    ~RegIniFile();
    RegIniFile(const RegIniFile&) = delete;
    RegIniFile& operator=(const RegIniFile&) = delete;

    // The string value name in subkey section, as stored (no expansion), cut at its first zero
    // byte; defaultValue when the subkey or the value is missing; nothing when the value is there
    // but is not a string.
    std::optional<std::string> ReadString(const std::string& section, const std::string& name,
                                          const std::string& defaultValue) const;

private:
    HKEY key_ = nullptr;
};
