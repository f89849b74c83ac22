// Looking at another process's windows the way a user sees them: visible top-level windows,
// their captions, their static texts and push buttons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The visible top-level windows of the process, in z-order.
std::vector<HWND> VisibleTopWindowsOf(DWORD processId);
// The direct child windows, in the order of their creation (a dialog's tab order).
std::vector<HWND> ChildrenOf(HWND window);

std::string ClassNameOf(HWND window);
// The window's text through WM_GETTEXT, which the window's own thread answers; fails the step
// when that thread does not answer in time.
std::string TextOf(HWND window);

// A static control that shows text (not an icon, bitmap or frame).
bool IsTextStatic(HWND window);
// A visible push button (plain or default).
bool IsPushButton(HWND window);
// The texts of the window's static text controls, in child order.
std::vector<std::string> StaticTextsOf(HWND window);

// Class, caption and static texts, for failure messages.
std::string DescribeWindow(HWND window);
