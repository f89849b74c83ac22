// modules                         prints the modules that the running program has loaded
// module NAME [MODE] "PATH"       the running program has loaded a module of that file name, and
//                                 each such module's path matches (letter case does not matter);
//                                 shows where a DLL that the program loads by name came from
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <vector>

#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/StepFailure.h"
#include "tests/e2e/driver/TextMatch.h"

namespace {

struct LoadedModule {
    std::string name;
    std::string path;
};

std::vector<LoadedModule> ModulesOf(const DriverContext& context) {
    if (!context.setup.Running()) throw StepFailure("the program is not running");
    HANDLE snapshot = INVALID_HANDLE_VALUE;
    // The snapshot fails with ERROR_BAD_LENGTH while the program is loading a module: try again.
    WaitFor(kDefaultTimeoutMs, [&] {
        snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, context.setup.Id());
        return snapshot != INVALID_HANDLE_VALUE || GetLastError() != ERROR_BAD_LENGTH;
    });
    if (snapshot == INVALID_HANDLE_VALUE) {
        throw StepFailure("cannot list the program's modules: error " + std::to_string(GetLastError()));
    }
    std::vector<LoadedModule> modules;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
        modules.push_back({entry.szModule, entry.szExePath});
    }
    CloseHandle(snapshot);
    return modules;
}

void Modules(DriverContext& context, StepArgs& args) {
    args.Finish();
    for (const LoadedModule& module : ModulesOf(context)) std::printf("     %s\n", module.path.c_str());
}

void Module(DriverContext& context, StepArgs& args) {
    std::string name = args.Text("module file name");
    TextExpectation expected = ReadExpectation(args);
    args.Finish();
    expected.pattern = AsciiUpper(expected.pattern);
    bool found = false;
    for (const LoadedModule& module : ModulesOf(context)) {
        if (AsciiUpper(module.name) != AsciiUpper(name)) continue;
        found = true;
        if (!expected.Matches(AsciiUpper(module.path))) {
            throw StepFailure(name + " was loaded from " + QuotedText(module.path) + ", expected " + expected.Describe());
        }
    }
    if (!found) throw StepFailure("the program has not loaded " + name);
}

}  // namespace

void AddModuleCommands(CommandTable& table) {
    table["modules"] = Modules;
    table["module"] = Module;
}
