// The Group dialog: asks for the name of the Start-menu shortcut.
#include "setup/ProductConfig.h"
#include "ui/DialogControlIds.h"
#include "ui/DialogHelpersWin32.h"
#include "ui/InputDialogsWin32.h"

namespace {

void OpenGroup(HWND dialog) {
    SetWindowTextA(dialog, "Program Group");
    CenterOnScreen(dialog);
    SendDlgItemMessageA(dialog, GroupNameEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ProductConfig.GroupName.c_str()));
    SetFocus(GetDlgItem(dialog, OkCommand));
}

void TakeGroupName(HWND dialog) {
    ProductConfig.GroupName = ReadDialogItemText(dialog, GroupNameEdit);
    EndDialog(dialog, 1);
}

}  // namespace

// Any name is taken, the empty one too; Cancel only skips the shortcut, so it asks nothing.
INT_PTR CALLBACK GroupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return InputDialogMessage(dialog, message, wParam, {OpenGroup, TakeGroupName, [](HWND d) { EndDialog(d, 0); }});
}
