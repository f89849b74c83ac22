#pragma once

#include <optional>
#include <string>

// Writes the Start-menu shortcut: GroupName with ".LNK" in the user's Programs folder, pointing at
// DestDir\ExeFileName. Nothing is reported; a shortcut that cannot be made is left out.
void CreateShortcut();

// The user's Programs folder as the shell folders key gives it (empty when it is not set); nothing
// when the value is there but is not a string.
std::optional<std::string> ProgramsFolder();
