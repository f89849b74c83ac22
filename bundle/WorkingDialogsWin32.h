// The two working dialogs: IProgress joins the volumes, Progress decodes and splits the bundle.
#pragma once

#include <windows.h>

INT_PTR CALLBACK IProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
