// The form a destination typed into the Main dialog must have before the directory is tried.
#pragma once

#include <string>

// At least two characters: an upper-case drive letter A to Z, then a colon. The edit box upper-cases
// what is typed, so a lower-case letter can only come from elsewhere and is refused.
bool IsValidDestinationForm(const std::string& text);
