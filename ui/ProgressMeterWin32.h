// The progress meter's Win32 side: the device context, pens, brushes and font that a working dialog
// holds while its work runs, and the canvas that MeterDraw paints through.
#pragma once

#include <windows.h>

// Takes the dialog's device context, places the meter in frame control 101, creates the drawing
// objects, centres the dialog and sets ContinueFlag to 1.
void MeterOpen(HWND dialog);

// Puts back what MeterOpen replaced, deletes its objects and releases the device context.
void MeterClose(HWND dialog);
