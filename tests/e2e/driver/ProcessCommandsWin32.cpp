// start PATH             starts the program under test
// exit-code N            waits for the program to end and checks its exit status
#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/StepFailure.h"

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

}  // namespace

void AddProcessCommands(CommandTable& table) {
    table["start"] = Start;
    table["exit-code"] = ExitCode;
}
