#include "setup/SetupPlatformWin32.h"

#include <windows.h>

#include "bundle/WorkingDialogsWin32.h"
#include "setup/SetupState.h"
#include "setup/SystemPathsWin32.h"
#include "shell/ShortcutWin32.h"
#include "ui/BackgroundWindowWin32.h"
#include "ui/InputDialogsWin32.h"

namespace {

DLGPROC ProcedureOf(DialogStep step) {
    switch (step) {
        case DialogStep::Main: return MainDlgProc;
        case DialogStep::License: return LicenseDlgProc;
        case DialogStep::IProgress: return IProgressDlgProc;
        case DialogStep::Progress: return ProgressDlgProc;
        case DialogStep::Group: return GroupDlgProc;
    }
    return nullptr;
}

HWND Background() { return static_cast<HWND>(SetupState.BackgroundWindow); }

}  // namespace

std::string Win32SetupPlatform::ModuleFileName() { return OwnModulePath(); }

void Win32SetupPlatform::MeasureScreen(std::int32_t& width, std::int32_t& height) {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
}

void Win32SetupPlatform::CreateBackgroundWindow() { ::CreateBackgroundWindow(); }

std::string Win32SetupPlatform::WindowsDirectory() { return ::WindowsDirectory(); }

DialogOutcome Win32SetupPlatform::RunDialog(DialogStep step) {
    const HINSTANCE module = GetModuleHandleA(nullptr);
    const char* name = DialogTemplateName(step);
    const HRSRC found = FindResourceA(module, name, RT_DIALOG);
    if (!found) return {true, 0};
    const HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return {true, 0};
    const INT_PTR result = DialogBoxParamA(module, name, Background(), ProcedureOf(step), 0);
    FreeResource(loaded);
    return {false, static_cast<std::int32_t>(result)};
}

void Win32SetupPlatform::CreateShortcut() { ::CreateShortcut(); }

bool Win32SetupPlatform::AskYesNo(const std::string& text, const std::string& caption) {
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_YESNO) == IDYES;
}

void Win32SetupPlatform::ShowMessage(const std::string& text, const std::string& caption) {
    MessageBoxA(Background(), text.c_str(), caption.c_str(), MB_OK);
}

void Win32SetupPlatform::Launch(const std::string& file, const std::string& directory) {
    ShellExecuteA(Background(), nullptr, file.c_str(), nullptr, directory.c_str(), SW_SHOW);
}

void Win32SetupPlatform::RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }
