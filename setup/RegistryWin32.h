// The Win32 registry behind RegistryAccess.
#pragma once

#include "setup/RegistryAccess.h"

class Win32Registry : public RegistryAccess {
public:
    RegistryKey LocalMachine() const override;
    int CreateKey(RegistryKey base, const std::string& subkey, RegistryKey& opened) override;
    int OpenKey(RegistryKey base, const std::string& subkey, RegistryKey& opened) override;
    int SetString(RegistryKey key, const std::string& name, const std::string& data) override;
    void CloseKey(RegistryKey key) override;
};
