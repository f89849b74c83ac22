// The end-to-end driver: runs one scenario against the setup program in the same Wine prefix
// and desktop. Usage: driver.exe [--shots FOLDER] SCENARIO
// Prints every step with ok or FAIL and the reason; exits 0 only when every step passed and the
// program ended, 1 when a step failed, 2 when the scenario cannot be read.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/ScenarioScript.h"
#include "tests/e2e/driver/ScreenCaptureWin32.h"
#include "tests/e2e/driver/StepFailure.h"

namespace {

constexpr int kExitPassed = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUnusable = 2;

CommandTable AllCommands() {
    CommandTable table;
    AddProcessCommands(table);
    AddWindowWaitCommands(table);
    AddControlCommands(table);
    AddScreenCommands(table);
    AddRegistryCommands(table);
    AddShortcutCommands(table);
    AddFileCommands(table);
    AddFileAttributeCommands(table);
    AddTrailerCommands(table);
    AddModuleCommands(table);
    AddPlacementCommands(table);
    AddMeterCommands(table);
    return table;
}

std::string ReadScenarioFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw StepFailure("cannot open the scenario " + path);
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    BOOL ok = ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    CloseHandle(file);
    if (!ok || got != text.size()) throw StepFailure("cannot read the scenario " + path);
    return text;
}

// Keeps the screen as it was when the scenario failed, and leaves no program behind.
void AfterFailure(DriverContext& context) {
    if (!context.shotsDir.empty()) {
        try {
            SaveScreenshot(context.shotsDir + "\\FAILED.png");
            std::printf("     screen at the failure: %s\\FAILED.png\n", context.shotsDir.c_str());
        } catch (const StepFailure& failure) {
            std::printf("     no screenshot: %s\n", failure.what());
        }
    }
    context.setup.Terminate();
}

int RunScenario(DriverContext& context, const std::vector<ScenarioStep>& steps) {
    const CommandTable commands = AllCommands();
    for (const ScenarioStep& step : steps) {
        try {
            auto command = commands.find(step.command);
            if (command == commands.end()) throw StepFailure("unknown command " + step.command);
            StepArgs args(step);
            DWORD start = GetTickCount();
            command->second(context, args);
            // The time a step took shows where a slow scenario waits.
            std::printf("ok   line %d: %s  [%.2f s]\n", step.line, step.source.c_str(), (GetTickCount() - start) / 1000.0);
        } catch (const StepFailure& failure) {
            std::printf("FAIL line %d: %s\n     %s\n", step.line, step.source.c_str(), failure.what());
            AfterFailure(context);
            return kExitFailed;
        }
        std::fflush(stdout);
    }
    if (context.setup.Running()) {
        std::printf("FAIL the program is still running after the last step\n");
        AfterFailure(context);
        return kExitFailed;
    }
    return kExitPassed;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    DriverContext context;
    std::string scenarioPath;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--shots" && i + 1 < argc) {
            context.shotsDir = argv[++i];
        } else if (scenarioPath.empty() && arg.rfind("--", 0) != 0) {
            scenarioPath = arg;
        } else {
            scenarioPath.clear();
            break;
        }
    }
    if (scenarioPath.empty()) {
        std::printf("usage: driver.exe [--shots FOLDER] SCENARIO\n");
        return kExitUnusable;
    }

    std::vector<ScenarioStep> steps;
    try {
        steps = ParseScenario(ReadScenarioFile(scenarioPath));
    } catch (const StepFailure& failure) {
        std::printf("FAIL %s: %s\n", scenarioPath.c_str(), failure.what());
        return kExitUnusable;
    }
    std::printf("scenario %s: %zu steps\n", scenarioPath.c_str(), steps.size());
    int result = RunScenario(context, steps);
    std::printf(result == kExitPassed ? "PASS %s\n" : "FAIL %s\n", scenarioPath.c_str());
    return result;
}
