#include <windows.h>

#include "bundle/BundleExtraction.h"
#include "bundle/WorkingDialogsWin32.h"
#include "ui/WorkingDialogWin32.h"

namespace {

void ExtractBundleWork(HWND) { ExtractBundle(); }

}  // namespace

INT_PTR CALLBACK ProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return WorkingDialogMessage(dialog, message, wParam, lParam, ExtractBundleWork);
}
