// The setup sequence's platform operations on Win32.
#pragma once

#include "setup/RegistryWin32.h"
#include "setup/SetupSequence.h"

class Win32SetupPlatform : public SetupPlatform {
public:
    std::string ModuleFileName() override;
    void MeasureScreen(std::int32_t& width, std::int32_t& height) override;
    void CreateBackgroundWindow() override;
    std::string WindowsDirectory() override;
    DialogOutcome RunDialog(DialogStep step) override;
    void CreateShortcut() override;
    RegistryAccess& Registry() override { return registry_; }
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void Launch(const std::string& file, const std::string& directory) override;
    void RemoveFile(const std::string& path) override;

private:
    Win32Registry registry_;
};
