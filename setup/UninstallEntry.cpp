#include "setup/UninstallEntry.h"

#include "setup/Failures.h"
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"

namespace {

void WriteProductValue(RegistryAccess& registry, RegistryKey base, const std::string& name, const std::string& data) {
    RegistryKey product = 0;
    if (registry.CreateKey(base, ProductConfig.ProductTitle, product) != 0) {
        throw ERegistryException("Failed to create key " + ProductConfig.ProductTitle);
    }
    registry.CloseKey(product);
    // An existing key that cannot be opened leaves this value unwritten, without a word.
    if (registry.OpenKey(base, ProductConfig.ProductTitle, product) != 0) return;
    if (registry.SetString(product, name, data) != 0) {
        throw ERegistryException("Failed to set data for '" + name + "'");
    }
    registry.CloseKey(product);
}

}  // namespace

void WriteUninstallEntry(RegistryAccess& registry) {
    RegistryKey uninstall = 0;
    // Without the uninstall key the product's key goes straight under HKEY_LOCAL_MACHINE.
    const bool opened = registry.CreateKey(registry.LocalMachine(), UninstallKeyPath, uninstall) == 0;
    const RegistryKey base = opened ? uninstall : registry.LocalMachine();
    WriteProductValue(registry, base, "DisplayName", ProductConfig.ProductTitle);
    WriteProductValue(registry, base, "UnInstallString", JoinPath(SetupState.DestDir, UninstallerFileName));
    if (opened) registry.CloseKey(uninstall);
}
