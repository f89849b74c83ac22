// The command line of the disk-building tool.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit statuses: everything done and sound; a failure or unsound disks; a command line that
// could not be understood.
constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

// Runs one command (the arguments after the program's name); results go to out, messages and
// progress to err. Returns the exit status.
int RunMkdisks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
