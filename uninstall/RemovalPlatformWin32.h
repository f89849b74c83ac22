// The uninstaller's registry, shortcut and question operations on Win32.
#pragma once

#include "uninstall/ProductRemoval.h"

class Win32RemovalPlatform : public RemovalPlatform {
public:
    std::string WindowsDirectory() override;
    std::vector<std::string> ShortcutsTo(const std::string& target) override;
    std::string UninstallCommand() override;
    void DeleteUninstallEntry() override;
    bool Confirm(const std::string& text, const std::string& caption) override;
};
