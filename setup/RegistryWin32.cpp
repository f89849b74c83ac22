#include "setup/RegistryWin32.h"

#include <windows.h>

namespace {

HKEY H(RegistryKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

RegistryKey Win32Registry::LocalMachine() const { return reinterpret_cast<RegistryKey>(HKEY_LOCAL_MACHINE); }

int Win32Registry::CreateKey(RegistryKey base, const std::string& subkey, RegistryKey& opened) {
    HKEY key = nullptr;
    const LONG result = RegCreateKeyExA(H(base), subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                        nullptr, &key, nullptr);
    opened = reinterpret_cast<RegistryKey>(key);
    return static_cast<int>(result);
}

int Win32Registry::OpenKey(RegistryKey base, const std::string& subkey, RegistryKey& opened) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(H(base), subkey.c_str(), 0, KEY_ALL_ACCESS, &key);
    opened = reinterpret_cast<RegistryKey>(key);
    return static_cast<int>(result);
}

int Win32Registry::SetString(RegistryKey key, const std::string& name, const std::string& data) {
    // The byte count includes the terminating NUL.
    return static_cast<int>(RegSetValueExA(H(key), name.c_str(), 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(data.c_str()),
                                           static_cast<DWORD>(data.size() + 1)));
}

void Win32Registry::CloseKey(RegistryKey key) { RegCloseKey(H(key)); }
