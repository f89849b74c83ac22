// start PATH                   starts the program under test (after an earlier one has ended, the
//                              next one: the setup program, then the uninstaller)
// exit-code N                  waits for the program to end and checks its exit status
// set-env NAME "T"             sets an environment variable that the programs started from now on
//                              inherit, and the programs they start in turn
// process-gone NAME [timeout=MS]
//                              waits until no process of that file name runs (a program that the
//                              one under test started: the product it launched, the uninstaller's
//                              temporary copy); NAME may hold * and ?, case does not matter
#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/StepFailure.h"
#include "tests/e2e/driver/TextMatch.h"

namespace {

void Start(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("program path"));
    args.Finish();
    context.setup.Start(path);
}

void ExitCode(DriverContext& context, StepArgs& args) {
    long expected = args.Number("exit code");
    DWORD timeout = args.Option("timeout", kDefaultTimeoutMs);
    args.Finish();
    std::optional<DWORD> code = context.setup.WaitForExit(timeout);
    if (!code) throw StepFailure("the program is still running after " + std::to_string(timeout) + " ms");
    if (static_cast<long>(*code) != expected) {
        throw StepFailure("exit code " + std::to_string(*code) + ", expected " + std::to_string(expected));
    }
}

void SetEnv(DriverContext&, StepArgs& args) {
    std::string name = args.Word("variable name");
    std::string value = args.Text("value");
    args.Finish();
    if (!SetEnvironmentVariableA(name.c_str(), value.c_str())) {
        throw StepFailure("cannot set " + name + ": error " + std::to_string(GetLastError()));
    }
}

// The file names of the running processes that match the pattern.
std::vector<std::string> ProcessesNamed(const std::string& pattern) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        throw StepFailure("cannot list the processes: error " + std::to_string(GetLastError()));
    }
    std::vector<std::string> found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (GlobMatches(AsciiUpper(pattern), AsciiUpper(entry.szExeFile))) {
            found.push_back(std::string(entry.szExeFile) + " (process " + std::to_string(entry.th32ProcessID) + ")");
        }
    }
    CloseHandle(snapshot);
    return found;
}

void ProcessGone(DriverContext&, StepArgs& args) {
    std::string pattern = args.Text("program file name");
    DWORD timeout = args.Option("timeout", kDefaultTimeoutMs);
    args.Finish();
    std::vector<std::string> running;
    if (!WaitFor(timeout, [&] {
            running = ProcessesNamed(pattern);
            return running.empty();
        })) {
        throw StepFailure("still running after " + std::to_string(timeout) + " ms: " + running.front());
    }
}

}  // namespace

void AddProcessCommands(CommandTable& table) {
    table["start"] = Start;
    table["exit-code"] = ExitCode;
    table["set-env"] = SetEnv;
    table["process-gone"] = ProcessGone;
}
