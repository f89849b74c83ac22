// The full-screen background window that owns every dialog of the installation: a colour gradient,
// the banner title with its shadow, the logo and the copyright line.
#pragma once

#include <windows.h>

// Registers the window class "MVSetUp", creates the visible window over the whole measured screen
// and loads the logo; stores both handles in SetupState. Nothing here is tested or reported.
void CreateBackgroundWindow();

LRESULT CALLBACK BackgroundWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Repaints every pixel of the window through its window device context.
void PaintBackground();
