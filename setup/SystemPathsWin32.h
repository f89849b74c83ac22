#pragma once

#include <string>

// Full path of the running program's own executable file.
std::string OwnModulePath();

// The Windows directory as the system reports it, at most 255 characters.
std::string WindowsDirectory();
