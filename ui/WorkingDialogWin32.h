// The message handling that the two working dialogs (IProgress, Progress) share: their work runs
// inside the dialog procedure, started by a message the dialog posts to itself, with the meter open.
#pragma once

#include <windows.h>

// Handles one message for a working dialog whose work is `work`; returns the value for the platform.
// WM_INITDIALOG opens the meter and posts StartWorkMessage; Cancel asks the exit question and, on
// Yes, clears ContinueFlag for the work to notice; StartWorkMessage runs the work, closes the meter
// and ends the dialog with ContinueFlag; WM_DESTROY clears ContinueFlag.
INT_PTR WorkingDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, void (*work)(HWND dialog));
