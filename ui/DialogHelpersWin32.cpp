#include "ui/DialogHelpersWin32.h"

#include "setup/FailureReport.h"
#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "ui/DialogControlIds.h"
#include "ui/InputDialogsWin32.h"

ScreenRect ToScreenRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void PlaceAtScreenCentre(HWND dialog, const RECT& window) {
    const WindowOrigin origin = CenteredOrigin(SetupState.ScreenWidth, SetupState.ScreenHeight, ToScreenRect(window));
    SetWindowPos(dialog, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE);
}

std::string ReadDialogItemText(HWND dialog, int control) {
    char text[256] = {};
    SendDlgItemMessageA(dialog, control, WM_GETTEXT, 255, reinterpret_cast<LPARAM>(text));
    return text;
}

void CenterOnScreen(HWND dialog) {
    RECT window;
    GetWindowRect(dialog, &window);
    PlaceAtScreenCentre(dialog, window);
}

bool ConfirmExit() {
    const std::string caption = "Exit " + ProductConfig.ProductTitle;
    return MessageBoxA(nullptr, ProductConfig.CancelQuestion.c_str(), caption.c_str(), MB_YESNO) == IDYES;
}

bool CreateDestDir(const std::string& path) {
    // One level only; failing because it exists already is fine, the change of directory decides.
    CreateDirectoryA(path.c_str(), nullptr);
    if (!SetCurrentDirectoryA(path.c_str())) return false;
    SetupState.DestDir = path;
    return true;
}

INT_PTR InputDialogMessage(HWND dialog, UINT message, WPARAM wParam, const InputDialogActions& actions) {
    GuardFailures([&] {
        switch (message) {
            case WM_INITDIALOG:
                actions.Open(dialog);
                break;
            case WM_COMMAND:
                if (LOWORD(wParam) == OkCommand) {
                    actions.Ok(dialog);
                } else if (LOWORD(wParam) == CancelCommand) {
                    actions.Cancel(dialog);
                }
                break;
            case WM_DESTROY:
                EndDialog(dialog, 0);
                break;
        }
    });
    return FALSE;
}

void EndOnConfirmedExit(HWND dialog) {
    if (ConfirmExit()) EndDialog(dialog, 0);
}
