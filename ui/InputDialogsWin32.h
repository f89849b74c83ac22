// The three input dialogs (Main: destination, License: consent, Group: shortcut name) and what all
// dialogs of the installation share: centring on the screen and the exit question.
#pragma once

#include <windows.h>

#include <string>

// The dialog procedures return FALSE for every message, so the dialog manager always does its
// default processing too; they end their dialog with 1 to go on and 0 to stop.
INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LicenseDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GroupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Centres the dialog on the screen measured at start-up and brings it to the top.
void CenterOnScreen(HWND dialog);

// Asks CancelQuestion in a Yes/No box captioned "Exit " and the product title. The box has no owner,
// so the dialog behind it stays enabled. True on Yes.
bool ConfirmExit();

// Creates the last level of path (an existing directory is fine) and makes it the current
// directory; on success DestDir becomes path. Success is that of entering the directory.
bool CreateDestDir(const std::string& path);
