// What the steps of one scenario share, and the table that maps a command word to its step.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "tests/e2e/driver/ScenarioScript.h"
#include "tests/e2e/driver/SetupProcessWin32.h"

// How long a waiting step waits unless it says timeout=MS: generous, since Wine may take a few
// seconds to start a program or to show its first window.
constexpr DWORD kDefaultTimeoutMs = 15000;
// How long "stays" and "no-new-window" watch unless they say for=MS.
constexpr DWORD kDefaultWatchMs = 1000;

struct DriverContext {
    SetupProcess setup;
    // The windows that steps have named, by their names in the scenario.
    std::map<std::string, HWND> windows;
    // Where screenshot steps write; empty when no folder was given.
    std::string shotsDir;

    // The window named name; fails the step when no step named it or it no longer exists.
    HWND Window(const std::string& name) const;
    // A path of the scenario with %PROGRAMS% and %WINDIR% replaced.
    std::string ExpandPath(const std::string& path) const;
};

using StepCommand = std::function<void(DriverContext&, StepArgs&)>;
using CommandTable = std::map<std::string, StepCommand>;

void AddProcessCommands(CommandTable& table);
void AddWindowWaitCommands(CommandTable& table);
void AddControlCommands(CommandTable& table);
void AddScreenCommands(CommandTable& table);
void AddRegistryCommands(CommandTable& table);
void AddShortcutCommands(CommandTable& table);
void AddFileCommands(CommandTable& table);
void AddFileAttributeCommands(CommandTable& table);
void AddTrailerCommands(CommandTable& table);
void AddModuleCommands(CommandTable& table);
void AddPlacementCommands(CommandTable& table);
void AddMeterCommands(CommandTable& table);

// Checks condition every pollMs (default 50 ms) until it holds (true) or timeoutMs have passed
// (false).
bool WaitFor(DWORD timeoutMs, const std::function<bool()>& condition, DWORD pollMs = 50);
// Checks condition every 50 ms for watchMs; the description of the first breach, or empty.
std::string WatchFor(DWORD watchMs, const std::function<std::string()>& breach);
