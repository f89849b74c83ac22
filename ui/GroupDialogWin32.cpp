// The Group dialog: asks for the name of the Start-menu shortcut.
#include "setup/FailureReport.h"
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

}  // namespace

// Any name is taken, the empty one too; Cancel only skips the shortcut, so it asks nothing.
INT_PTR CALLBACK GroupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    GuardFailures([&] {
        switch (message) {
            case WM_INITDIALOG:
                OpenGroup(dialog);
                break;
            case WM_COMMAND:
                if (LOWORD(wParam) == OkCommand) {
                    ProductConfig.GroupName = ReadDialogItemText(dialog, GroupNameEdit);
                    EndDialog(dialog, 1);
                } else if (LOWORD(wParam) == CancelCommand) {
                    EndDialog(dialog, 0);
                }
                break;
            case WM_DESTROY:
                EndDialog(dialog, 0);
                break;
        }
    });
    return FALSE;
}
