// window NAME CRITERIA...    waits for a visible top-level window of the program and names it;
//                            criteria: class "C", caption [MODE] "T", static [MODE] "T"
// stays NAME [for=MS]        the window stays open and visible, the program running
// gone NAME                  waits until the window is closed or hidden
// no-new-window [for=MS]     no visible window appears besides the named ones
// enabled NAME, disabled NAME
#include <optional>

#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/StepFailure.h"
#include "tests/e2e/driver/TextMatch.h"
#include "tests/e2e/driver/TopWindowsWin32.h"

namespace {

struct WindowCriteria {
    std::optional<std::string> className;
    std::optional<TextExpectation> caption;
    std::vector<TextExpectation> statics;

    bool Matches(HWND window) const {
        try {
            if (className && ClassNameOf(window) != *className) return false;
            if (caption && !caption->Matches(TextOf(window))) return false;
            std::vector<std::string> texts = statics.empty() ? std::vector<std::string>() : StaticTextsOf(window);
            for (const TextExpectation& expected : statics) {
                bool seen = false;
                for (const std::string& text : texts) seen = seen || expected.Matches(text);
                if (!seen) return false;
            }
            return true;
        } catch (const StepFailure&) {
            // A window that is closing while it is looked at is not the one waited for.
            return false;
        }
    }
};

WindowCriteria ReadCriteria(StepArgs& args) {
    WindowCriteria criteria;
    while (!args.AtEnd()) {
        if (args.TakeWord("class")) {
            criteria.className = args.Text("class name");
        } else if (args.TakeWord("caption")) {
            criteria.caption = ReadExpectation(args);
        } else if (args.TakeWord("static")) {
            criteria.statics.push_back(ReadExpectation(args));
        } else {
            throw StepFailure("expected class, caption or static, got " + QuotedText(args.Text("criterion")));
        }
    }
    if (!criteria.className && !criteria.caption && criteria.statics.empty()) {
        throw StepFailure("a window step needs at least one criterion");
    }
    return criteria;
}

bool IsNamedOtherThan(const DriverContext& context, HWND window, const std::string& name) {
    for (const auto& [otherName, otherWindow] : context.windows) {
        if (otherWindow == window && otherName != name) return true;
    }
    return false;
}

std::string DescribeWindowsOf(const DriverContext& context) {
    std::string list;
    for (HWND window : VisibleTopWindowsOf(context.setup.Id())) {
        try {
            list += "\n       " + DescribeWindow(window);
        } catch (const StepFailure&) {
            list += "\n       (a window that does not answer)";
        }
    }
    return list.empty() ? " none" : list;
}

std::string EndedMessage(const DriverContext& context) {
    std::optional<DWORD> code = context.setup.WaitForExit(0);
    return code ? "the program ended with exit code " + std::to_string(*code) : "the program ended";
}

void Window(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    DWORD timeout = args.Option("timeout", kDefaultTimeoutMs);
    WindowCriteria criteria = ReadCriteria(args);
    args.Finish();
    if (!context.setup.Started()) throw StepFailure("no program was started");

    HWND found = nullptr;
    WaitFor(timeout, [&] {
        for (HWND window : VisibleTopWindowsOf(context.setup.Id())) {
            if (!IsNamedOtherThan(context, window, name) && criteria.Matches(window)) {
                found = window;
                return true;
            }
        }
        return !context.setup.Running();
    });
    if (!found) {
        if (!context.setup.Running()) throw StepFailure(EndedMessage(context) + " before such a window appeared");
        throw StepFailure("no such window after " + std::to_string(timeout) + " ms; the program's windows:" +
                          DescribeWindowsOf(context));
    }
    context.windows[name] = found;
}

void Stays(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    DWORD watch = args.Option("for", kDefaultWatchMs);
    args.Finish();
    HWND window = context.Window(name);
    std::string breach = WatchFor(watch, [&]() -> std::string {
        if (!IsWindow(window)) return "window " + name + " was closed";
        if (!IsWindowVisible(window)) return "window " + name + " was hidden";
        if (!context.setup.Running()) return EndedMessage(context);
        return {};
    });
    if (!breach.empty()) throw StepFailure(breach);
}

void Gone(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    DWORD timeout = args.Option("timeout", kDefaultTimeoutMs);
    args.Finish();
    auto found = context.windows.find(name);
    if (found == context.windows.end()) throw StepFailure("no window was named " + name);
    HWND window = found->second;
    if (!WaitFor(timeout, [&] { return !IsWindow(window) || !IsWindowVisible(window); })) {
        throw StepFailure("window " + name + " is still open after " + std::to_string(timeout) + " ms");
    }
}

void NoNewWindow(DriverContext& context, StepArgs& args) {
    DWORD watch = args.Option("for", kDefaultWatchMs);
    args.Finish();
    std::string breach = WatchFor(watch, [&]() -> std::string {
        for (HWND window : VisibleTopWindowsOf(context.setup.Id())) {
            bool named = false;
            for (const auto& entry : context.windows) named = named || entry.second == window;
            if (!named) {
                try {
                    return "a new window appeared: " + DescribeWindow(window);
                } catch (const StepFailure&) {
                    return "a new window appeared that does not answer";
                }
            }
        }
        return {};
    });
    if (!breach.empty()) throw StepFailure(breach);
}

void CheckEnabled(DriverContext& context, StepArgs& args, bool expected) {
    std::string name = args.Word("window name");
    args.Finish();
    if ((IsWindowEnabled(context.Window(name)) != FALSE) != expected) {
        throw StepFailure("window " + name + " is " + (expected ? "disabled" : "enabled"));
    }
}

}  // namespace

void AddWindowWaitCommands(CommandTable& table) {
    table["window"] = Window;
    table["stays"] = Stays;
    table["gone"] = Gone;
    table["no-new-window"] = NoNewWindow;
    table["enabled"] = [](DriverContext& context, StepArgs& args) { CheckEnabled(context, args, true); };
    table["disabled"] = [](DriverContext& context, StepArgs& args) { CheckEnabled(context, args, false); };
}
