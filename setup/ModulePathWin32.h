#pragma once

#include <string>

// Full path of the running program's own executable file.
std::string OwnModulePath();
