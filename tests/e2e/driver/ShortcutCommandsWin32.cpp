// shortcut PATH [target [MODE] "T"] [workdir [MODE] "T"] [show N]
//     reads the link file back through the shell's link object and checks what it holds
// make-shortcut PATH target "T"
//     saves a link file to target T through the shell's link object (a shortcut of the user's)
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <optional>

#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/StepFailure.h"
#include "tests/e2e/driver/TextMatch.h"

namespace {

template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* operator->() const { return p_; }
    Interface** Out() { return &p_; }
    void** OutVoid() { return reinterpret_cast<void**>(&p_); }

private:
    Interface* p_ = nullptr;
};

class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool ok_;
};

struct LinkContents {
    std::string target;
    std::string workdir;
    int show = 0;
};

std::string Hex(HRESULT result) {
    char text[16];
    wsprintfA(text, "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

// The shell's link object and its file interface, in an apartment of their own.
struct LinkObject {
    ComApartment apartment;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;

    LinkObject() {
        HRESULT result =
            CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.OutVoid());
        if (FAILED(result)) throw StepFailure("cannot create the shell's link object: " + Hex(result));
        result = link->QueryInterface(IID_IPersistFile, file.OutVoid());
        if (FAILED(result)) throw StepFailure("the link object gives no IPersistFile: " + Hex(result));
    }
};

std::wstring Wide(const std::string& path) {
    wchar_t widePath[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    return widePath;
}

LinkContents ReadLink(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) throw StepFailure("there is no file " + path);
    LinkObject object;
    ComPtr<IShellLinkA>& link = object.link;
    HRESULT result = object.file->Load(Wide(path).c_str(), STGM_READ);
    if (FAILED(result)) throw StepFailure("cannot load " + path + " as a shell link: " + Hex(result));

    LinkContents contents;
    char text[MAX_PATH] = "";
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    contents.target = text;
    text[0] = '\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    contents.workdir = text;
    link->GetShowCmd(&contents.show);
    return contents;
}

void Shortcut(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("link path"));
    std::optional<TextExpectation> target, workdir;
    std::optional<long> show;
    while (!args.AtEnd()) {
        if (args.TakeWord("target")) {
            target = ReadExpectation(args);
        } else if (args.TakeWord("workdir")) {
            workdir = ReadExpectation(args);
        } else if (args.TakeWord("show")) {
            show = args.Number("show command");
        } else {
            throw StepFailure("expected target, workdir or show, got " + QuotedText(args.Text("part")));
        }
    }
    args.Finish();
    LinkContents link = ReadLink(path);
    if (target && !target->Matches(link.target)) {
        throw StepFailure("the target is " + QuotedText(link.target) + ", expected " + target->Describe());
    }
    if (workdir && !workdir->Matches(link.workdir)) {
        throw StepFailure("the working directory is " + QuotedText(link.workdir) + ", expected " + workdir->Describe());
    }
    if (show && link.show != *show) {
        throw StepFailure("the show command is " + std::to_string(link.show) + ", expected " + std::to_string(*show));
    }
}

void MakeShortcut(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("link path"));
    if (!args.TakeWord("target")) throw StepFailure("expected target");
    std::string target = context.ExpandPath(args.Text("target"));
    args.Finish();
    LinkObject object;
    HRESULT result = object.link->SetPath(target.c_str());
    if (SUCCEEDED(result)) result = object.file->Save(Wide(path).c_str(), TRUE);
    if (FAILED(result)) throw StepFailure("cannot save the shortcut " + path + ": " + Hex(result));
}

}  // namespace

void AddShortcutCommands(CommandTable& table) {
    table["shortcut"] = Shortcut;
    table["make-shortcut"] = MakeShortcut;
}
