// The registry operations that the uninstall entry needs, so that its decisions build and are
// tested apart from the Win32 registry.
#pragma once

#include <cstdint>
#include <string>

using RegistryKey = std::uintptr_t;

class RegistryAccess {
public:
    virtual ~RegistryAccess() = default;
    // HKEY_LOCAL_MACHINE.
    virtual RegistryKey LocalMachine() const = 0;
    // Opens subkey of base, creating it when missing, with full access. 0 or the system's error code.
    virtual int CreateKey(RegistryKey base, const std::string& subkey, RegistryKey& opened) = 0;
    // Opens an existing subkey of base with full access. 0 or the system's error code.
    virtual int OpenKey(RegistryKey base, const std::string& subkey, RegistryKey& opened) = 0;
    // Stores a REG_SZ value: the text with its terminating NUL. 0 or the system's error code.
    virtual int SetString(RegistryKey key, const std::string& name, const std::string& data) = 0;
    virtual void CloseKey(RegistryKey key) = 0;
};
