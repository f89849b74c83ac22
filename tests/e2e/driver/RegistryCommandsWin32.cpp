// reg-value ROOT\KEY NAME [MODE] "T"   the key holds a string value NAME matching T
// reg-absent ROOT\KEY [NAME]           the key, or only its value NAME, does not exist
// ROOT is HKLM or HKCU.
#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/StepFailure.h"
#include "tests/e2e/driver/TextMatch.h"

namespace {

class OpenKey {
public:
    explicit OpenKey(const std::string& path) {
        size_t slash = path.find('\\');
        std::string root = path.substr(0, slash);
        HKEY base = root == "HKLM" ? HKEY_LOCAL_MACHINE : root == "HKCU" ? HKEY_CURRENT_USER : nullptr;
        if (!base || slash == std::string::npos) throw StepFailure("a key starts with HKLM\\ or HKCU\\: " + path);
        status_ = RegOpenKeyExA(base, path.substr(slash + 1).c_str(), 0, KEY_READ, &key_);
    }
    ~OpenKey() {
        if (status_ == ERROR_SUCCESS) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    bool Exists() const { return status_ == ERROR_SUCCESS; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
    LONG status_ = ERROR_FILE_NOT_FOUND;
};

void RegValue(DriverContext&, StepArgs& args) {
    std::string path = args.Text("key");
    std::string name = args.Text("value name");
    TextExpectation expected = ReadExpectation(args);
    args.Finish();
    OpenKey key(path);
    if (!key.Exists()) throw StepFailure("there is no key " + path);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        throw StepFailure("key " + path + " has no value " + name);
    }
    if (type != REG_SZ) throw StepFailure("value " + name + " has type " + std::to_string(type) + ", not REG_SZ");
    std::string data(size, '\0');
    RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    // The stored bytes include the terminating zero; the text is what comes before it.
    data.resize(data.find('\0') == std::string::npos ? size : data.find('\0'));
    if (!expected.Matches(data)) {
        throw StepFailure("value " + name + " is " + QuotedText(data) + ", expected " + expected.Describe());
    }
}

void RegAbsent(DriverContext&, StepArgs& args) {
    std::string path = args.Text("key");
    bool valueOnly = !args.AtEnd();
    std::string name = valueOnly ? args.Text("value name") : std::string();
    args.Finish();
    OpenKey key(path);
    if (!valueOnly) {
        if (key.Exists()) throw StepFailure("key " + path + " exists");
        return;
    }
    if (key.Exists() && RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        throw StepFailure("key " + path + " has a value " + name);
    }
}

}  // namespace

void AddRegistryCommands(CommandTable& table) {
    table["reg-value"] = RegValue;
    table["reg-absent"] = RegAbsent;
}
