// caption NAME [MODE] "T"           the window's caption
// control-text NAME ID [MODE] "T"   the text of the window's control ID
// static-text NAME [MODE] "T"       one of the window's static texts
// set-text NAME ID "T"              puts a text into control ID (WM_SETTEXT)
// click NAME ID                     clicks push button ID as a user would
// buttons NAME "T"...               the window's push buttons, in order, by their labels
// answer NAME "T"                   clicks the button labelled T and waits until the window closes
// owner NAME none | class "C" | window OTHER
#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/StepFailure.h"
#include "tests/e2e/driver/TextMatch.h"
#include "tests/e2e/driver/TopWindowsWin32.h"

namespace {

constexpr UINT kSendAnswerMs = 5000;
constexpr DWORD kAnswerPollMs = 5;

HWND ControlOf(HWND window, long id, const std::string& name) {
    HWND control = GetDlgItem(window, static_cast<int>(id));
    if (!control) throw StepFailure("window " + name + " has no control " + std::to_string(id));
    return control;
}

void CheckText(const std::string& what, const std::string& text, const TextExpectation& expected) {
    if (!expected.Matches(text)) {
        throw StepFailure(what + " is " + QuotedText(text) + ", expected " + expected.Describe());
    }
}

// Posted, not sent: the click may open a modal box, and the driver must not wait inside it.
void Click(HWND window, HWND button, const std::string& what) {
    if (!IsWindowVisible(button)) throw StepFailure(what + " is hidden");
    if (!IsWindowEnabled(button)) throw StepFailure(what + " is disabled");
    if (!IsWindowEnabled(window)) throw StepFailure("the window of " + what + " is disabled, a modal window is over it");
    int id = GetDlgCtrlID(button);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void Caption(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    TextExpectation expected = ReadExpectation(args);
    args.Finish();
    CheckText("the caption of " + name, TextOf(context.Window(name)), expected);
}

void ControlText(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    long id = args.Number("control id");
    TextExpectation expected = ReadExpectation(args);
    args.Finish();
    CheckText("control " + std::to_string(id) + " of " + name, TextOf(ControlOf(context.Window(name), id, name)),
              expected);
}

void StaticText(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    TextExpectation expected = ReadExpectation(args);
    args.Finish();
    std::vector<std::string> texts = StaticTextsOf(context.Window(name));
    std::string seen;
    for (const std::string& text : texts) {
        if (expected.Matches(text)) return;
        seen += " " + QuotedText(text);
    }
    throw StepFailure("no static text of " + name + " is " + expected.Describe() + "; its static texts:" +
                      (seen.empty() ? " none" : seen));
}

void SetText(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    long id = args.Number("control id");
    std::string text = args.Text("text");
    args.Finish();
    HWND control = ControlOf(context.Window(name), id, name);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             kSendAnswerMs, &result)) {
        throw StepFailure("the window's thread does not answer WM_SETTEXT");
    }
}

void ClickStep(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    long id = args.Number("control id");
    args.Finish();
    HWND window = context.Window(name);
    Click(window, ControlOf(window, id, name), "control " + std::to_string(id) + " of " + name);
}

std::vector<HWND> PushButtonsOf(HWND window) {
    std::vector<HWND> buttons;
    for (HWND child : ChildrenOf(window)) {
        if (IsPushButton(child)) buttons.push_back(child);
    }
    return buttons;
}

std::string LabelsOf(const std::vector<HWND>& buttons) {
    std::string labels;
    for (HWND button : buttons) labels += " " + QuotedText(WithoutMnemonics(TextOf(button)));
    return labels.empty() ? " none" : labels;
}

void Buttons(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    std::vector<std::string> expected;
    while (!args.AtEnd()) expected.push_back(args.Text("button label"));
    args.Finish();
    std::vector<HWND> buttons = PushButtonsOf(context.Window(name));
    bool same = buttons.size() == expected.size();
    for (size_t i = 0; same && i < buttons.size(); ++i) same = WithoutMnemonics(TextOf(buttons[i])) == expected[i];
    if (!same) throw StepFailure("the buttons of " + name + " are" + LabelsOf(buttons));
}

void Answer(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    std::string label = args.Text("button label");
    DWORD timeout = args.Option("timeout", kDefaultTimeoutMs);
    args.Finish();
    HWND window = context.Window(name);
    std::vector<HWND> buttons = PushButtonsOf(window);
    HWND chosen = nullptr;
    for (HWND button : buttons) {
        if (WithoutMnemonics(TextOf(button)) == label) chosen = button;
    }
    if (!chosen) throw StepFailure(name + " has no button " + QuotedText(label) + "; its buttons:" + LabelsOf(buttons));
    Click(window, chosen, "button " + QuotedText(label) + " of " + name);
    // Watched closely: the next step may have to act at once on what the answer lets go on (a
    // Cancel while the volume of the disk just put in is copied).
    if (!WaitFor(timeout, [&] { return !IsWindow(window) || !IsWindowVisible(window); }, kAnswerPollMs)) {
        throw StepFailure(name + " is still open " + std::to_string(timeout) + " ms after the answer");
    }
}

void Owner(DriverContext& context, StepArgs& args) {
    std::string name = args.Word("window name");
    HWND owner = GetWindow(context.Window(name), GW_OWNER);
    std::string actual = owner ? "a window of " + DescribeWindow(owner) : "no owner";
    if (args.TakeWord("none")) {
        args.Finish();
        if (owner) throw StepFailure(name + " has " + actual + ", expected none");
    } else if (args.TakeWord("class")) {
        std::string className = args.Text("class name");
        args.Finish();
        if (!owner || ClassNameOf(owner) != className) {
            throw StepFailure(name + " has " + actual + ", expected a window of class " + QuotedText(className));
        }
    } else if (args.TakeWord("window")) {
        std::string other = args.Word("window name");
        args.Finish();
        if (owner != context.Window(other)) throw StepFailure(name + " has " + actual + ", expected window " + other);
    } else {
        throw StepFailure("expected none, class or window");
    }
}

}  // namespace

void AddControlCommands(CommandTable& table) {
    table["caption"] = Caption;
    table["control-text"] = ControlText;
    table["static-text"] = StaticText;
    table["set-text"] = SetText;
    table["click"] = ClickStep;
    table["buttons"] = Buttons;
    table["answer"] = Answer;
    table["owner"] = Owner;
}
