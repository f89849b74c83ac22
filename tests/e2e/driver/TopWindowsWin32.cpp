#include "tests/e2e/driver/TopWindowsWin32.h"

#include "tests/e2e/driver/ScenarioScript.h"
#include "tests/e2e/driver/StepFailure.h"

namespace {

// A window thread busy in a long copy still answers between blocks; this long a silence is a hang.
constexpr UINT kTextAnswerMs = 5000;

struct TopWindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<TopWindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleTopWindowsOf(DWORD processId) {
    TopWindowSearch search{processId, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildrenOf(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

std::string ClassNameOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextAnswerMs, &length)) {
        throw StepFailure("the window's thread does not answer WM_GETTEXTLENGTH");
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kTextAnswerMs, &copied)) {
        throw StepFailure("the window's thread does not answer WM_GETTEXT");
    }
    text.resize(copied);
    return text;
}

bool IsTextStatic(HWND window) {
    if (lstrcmpiA(ClassNameOf(window).c_str(), "Static") != 0) return false;
    switch (GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            return true;
        default:
            return false;
    }
}

bool IsPushButton(HWND window) {
    if (lstrcmpiA(ClassNameOf(window).c_str(), "Button") != 0 || !IsWindowVisible(window)) return false;
    LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

std::vector<std::string> StaticTextsOf(HWND window) {
    std::vector<std::string> texts;
    for (HWND child : ChildrenOf(window)) {
        if (IsTextStatic(child)) texts.push_back(TextOf(child));
    }
    return texts;
}

std::string DescribeWindow(HWND window) {
    std::string description = "class " + QuotedText(ClassNameOf(window)) + " caption " + QuotedText(TextOf(window));
    for (const std::string& text : StaticTextsOf(window)) description += " static " + QuotedText(text);
    return description;
}
