// The Main dialog: asks for the destination directory and creates its last level.
#include "setup/PathHelpers.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "setup/SystemPathsWin32.h"
#include "ui/DestinationForm.h"
#include "ui/DialogControlIds.h"
#include "ui/DialogHelpersWin32.h"
#include "ui/InputDialogsWin32.h"

namespace {

void OpenMain(HWND dialog) {
    SetupState.DestDir = DirectoryOf(OwnModulePath());
    SetWindowTextA(dialog, "Destination Directory");
    SendDlgItemMessageA(dialog, DestinationEdit, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(ProductConfig.DefaultDestDir.c_str()));
    CenterOnScreen(dialog);
    SetFocus(GetDlgItem(dialog, DestinationEdit));
}

// DestDir takes the typed text before it is tested: the clean-up after a cancel looks there.
void AcceptDestination(HWND dialog) {
    SetupState.DestDir = ReadDialogItemText(dialog, DestinationEdit);
    if (!IsValidDestinationForm(SetupState.DestDir)) {
        MessageBeep(0);
        return;
    }
    // A directory that cannot be made or entered keeps the dialog open without a word.
    if (CreateDestDir(SetupState.DestDir)) EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return InputDialogMessage(dialog, message, wParam, {OpenMain, AcceptDestination, EndOnConfirmedExit});
}
