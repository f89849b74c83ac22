#include "shell/RegIniFileWin32.h"

#include <vector>

RegIniFile::RegIniFile(const std::string& keyPath) {
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key_, nullptr) != ERROR_SUCCESS) {
        key_ = nullptr;
    }
}

RegIniFile::~RegIniFile() {
    if (key_) RegCloseKey(key_);
}

std::optional<std::string> RegIniFile::ReadString(const std::string& section, const std::string& name,
                                                  const std::string& defaultValue) const {
    HKEY sectionKey = nullptr;
    if (!key_ || RegOpenKeyExA(key_, section.c_str(), 0, KEY_READ, &sectionKey) != ERROR_SUCCESS) return defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    std::optional<std::string> result = defaultValue;
    if (RegQueryValueExA(sectionKey, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            result.reset();
        } else {
            std::vector<char> data(size + 1, '\0');
            if (RegQueryValueExA(sectionKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                 &size) == ERROR_SUCCESS) {
                result = std::string(data.data());  // up to the first zero byte
            }
        }
    }
    RegCloseKey(sectionKey);
    return result;
}
