// The program under test, started by the scenario's start step. A scenario may start one program
// after another (the setup program, then the installed uninstaller); the steps that look at
// windows and the exit status always mean the one started last.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

class SetupProcess {
public:
    SetupProcess() = default;
    ~SetupProcess();
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    // Starts the program with its own folder as the current directory, as a user starting it
    // from the disk would. Throws StepFailure when it cannot be started or the program started
    // before is still running.
    void Start(const std::string& path);
    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    bool Running() const;
    // The exit code once the program has ended within timeoutMs; nothing while it still runs.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs) const;
    // Ends a program that is still running, so that a failed scenario leaves nothing behind.
    void Terminate();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};
