// The product's entry in the system's list of installed programs.
#pragma once

#include "setup/RegistryAccess.h"

// The key under HKEY_LOCAL_MACHINE that holds one subkey per installed program.
inline constexpr const char* UninstallKeyPath = "Software\\microsoft\\windows\\currentversion\\uninstall";
inline constexpr const char* UninstallerFileName = "UnInstal.Exe";

// Writes "DisplayName" = ProductTitle and "UnInstallString" = DestDir\UnInstal.Exe under the subkey
// ProductTitle. Raises ERegistryException when the subkey cannot be created or a value not set.
void WriteUninstallEntry(RegistryAccess& registry);
