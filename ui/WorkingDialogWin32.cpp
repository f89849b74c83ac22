#include "ui/WorkingDialogWin32.h"

#include "setup/FailureReport.h"
#include "setup/SetupState.h"
#include "ui/DialogControlIds.h"
#include "ui/InputDialogsWin32.h"
#include "ui/PrivateMessages.h"
#include "ui/ProgressMeterWin32.h"

INT_PTR WorkingDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM, void (*work)(HWND dialog)) {
    return GuardFailures([&]() -> INT_PTR {
        switch (message) {
            case WM_INITDIALOG:
                SetWindowTextA(dialog, "Please Stand By...");
                MeterOpen(dialog);
                SetFocus(GetDlgItem(dialog, CancelCommand));
                PostMessageA(dialog, StartWorkMessage, 0, 0);
                return 0;
            case WM_COMMAND:
                // The dialog is not ended here: the work stops at its next test of the flag.
                if (LOWORD(wParam) == CancelCommand && ConfirmExit()) SetupState.ContinueFlag = 0;
                return 0;
            case StartWorkMessage:
                work(dialog);
                MeterClose(dialog);
                EndDialog(dialog, SetupState.ContinueFlag);
                return 1;
            case WM_DESTROY:
                SetupState.ContinueFlag = 0;
                return 0;
        }
        return 0;
    });
}
