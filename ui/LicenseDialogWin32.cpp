// The License dialog: shows the licence agreement and asks for consent.
#include <string>

#include "ui/DialogControlIds.h"
#include "ui/DialogHelpersWin32.h"
#include "ui/InputDialogsWin32.h"

namespace {

// The licence text, compiled in as the raw bytes of ui/resources/LicenseText.txt.
std::string LicenseText() {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC resource = FindResourceA(module, "LICENSETEXT", MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!resource) return {};
    const HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, resource));
}

// The licence box is made here rather than in the template and gets no font: it shows the text in
// the system font.
void OpenLicense(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    const std::string text = LicenseText();
    CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", text.c_str(), WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
                    10, 10, client.right - 20, client.bottom - 90, dialog, nullptr, GetModuleHandleA(nullptr), nullptr);
    CenterOnScreen(dialog);
    SetFocus(GetDlgItem(dialog, OkCommand));
}

}  // namespace

INT_PTR CALLBACK LicenseDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return InputDialogMessage(dialog, message, wParam, {OpenLicense, [](HWND d) { EndDialog(d, 1); }, EndOnConfirmedExit});
}
