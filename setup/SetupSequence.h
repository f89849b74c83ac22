// The fixed order of an installation: the five dialog steps, the clean-up after a cancelled one,
// the uninstall entry, the final question and the launch. Everything that touches the window system,
// the registry or the shell goes through SetupPlatform, so that the order and the decisions between
// the steps are built and tested apart from Win32.
#pragma once

#include <cstdint>
#include <string>

#include "setup/RegistryAccess.h"

enum class DialogStep { Main, License, IProgress, Progress, Group };

// The name of the dialog template of a step ("Main", "License", ...).
const char* DialogTemplateName(DialogStep step);

// The template was missing, or the dialog ran and ended with Result (-1 when it could not be created).
struct DialogOutcome {
    bool Missing = false;
    std::int32_t Result = 0;
};

class SetupPlatform {
public:
    virtual ~SetupPlatform() = default;
    // Full path of the program's own executable file.
    virtual std::string ModuleFileName() = 0;
    virtual void MeasureScreen(std::int32_t& width, std::int32_t& height) = 0;
    virtual void CreateBackgroundWindow() = 0;
    virtual std::string WindowsDirectory() = 0;
    // Looks the template up, runs the dialog modally owned by the background window, and releases it.
    virtual DialogOutcome RunDialog(DialogStep step) = 0;
    virtual void CreateShortcut() = 0;
    virtual RegistryAccess& Registry() = 0;
    // A Yes/No box with no owner; true on Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // An OK box owned by the background window.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Starts file with its associated program in directory; does not wait.
    virtual void Launch(const std::string& file, const std::string& directory) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
};

void RunSetup(SetupPlatform& platform);
DialogOutcome RunDialogStep(SetupPlatform& platform, DialogStep step);
void LaunchProduct(SetupPlatform& platform);
void CleanUpAbortedSetup(SetupPlatform& platform);
// The text of the final question: SuccessMessage, ProductTitle and "?".
std::string FinalQuestionText();
