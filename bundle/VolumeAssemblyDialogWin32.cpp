#include <windows.h>

#include "bundle/VolumeAssembly.h"
#include "bundle/WorkingDialogsWin32.h"
#include "setup/ProductConfig.h"
#include "setup/SystemPathsWin32.h"
#include "ui/WorkingDialogWin32.h"

namespace {

// The disk prompts are owned by the dialog, which is disabled while they are up.
class DialogDiskPrompter : public DiskPrompter {
public:
    explicit DialogDiskPrompter(HWND dialog) : dialog_(dialog) {}
    bool AskForDisk(const std::string& prompt) override {
        return MessageBoxA(dialog_, prompt.c_str(), ProductConfig.ProductTitle.c_str(), MB_OKCANCEL) == IDOK;
    }
    void ShowWrongDisk(const std::string& message) override { MessageBoxA(dialog_, message.c_str(), "", MB_OK); }

private:
    HWND dialog_;
};

void AssembleVolumesWork(HWND dialog) {
    DialogDiskPrompter prompter(dialog);
    AssembleVolumes(prompter, OwnModulePath());
}

}  // namespace

INT_PTR CALLBACK IProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return WorkingDialogMessage(dialog, message, wParam, lParam, AssembleVolumesWork);
}
