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
