// Helpers that the dialog procedures and the progress meter share.
#pragma once

#include <windows.h>

#include <string>

#include "ui/ScreenGeometry.h"

ScreenRect ToScreenRect(const RECT& rect);

// Moves the dialog, whose window rectangle is given, to the centre of the screen measured at
// start-up and to the top of the window order, keeping its size.
void PlaceAtScreenCentre(HWND dialog, const RECT& window);

// The text of an edit box, at most 254 characters: read into an emptied 256-byte buffer with a
// limit of 255, which counts the terminating zero.
std::string ReadDialogItemText(HWND dialog, int control);

// What an input dialog does when it opens, on OK (or I Agree), and on Cancel (or Exit).
struct InputDialogActions {
    void (*Open)(HWND dialog);
    void (*Ok)(HWND dialog);
    void (*Cancel)(HWND dialog);
};

// The message handling the three input dialogs share: WM_INITDIALOG opens, commands 1 and 2 go
// to Ok and Cancel, WM_DESTROY ends the dialog with 0. Always FALSE, so that the dialog manager
// does its default processing too.
INT_PTR InputDialogMessage(HWND dialog, UINT message, WPARAM wParam, const InputDialogActions& actions);

// Cancel of Main and License: the exit question, and on Yes the end of the dialog with 0.
void EndOnConfirmedExit(HWND dialog);
