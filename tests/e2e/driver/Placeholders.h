// Folders that differ between prefixes are written in a scenario as %NAME% (%PROGRAMS%, %WINDIR%)
// and replaced before a step uses the path.
#pragma once

#include <functional>
#include <optional>
#include <string>

// lookup gives the value of a name, or nothing for an unknown one (which fails the step).
// "%%" stands for one percent sign.
std::string ExpandPlaceholders(const std::string& text,
                               const std::function<std::optional<std::string>(const std::string&)>& lookup);
