// What a step expects of a text: the whole text, its start, its end, a part of it, or a pattern
// in which '*' stands for any run of characters and '?' for any one character (for a failure
// report whose code address differs from build to build).
#pragma once

#include <string>

class StepArgs;

enum class MatchMode { Is, StartsWith, EndsWith, Contains, Glob };

struct TextExpectation {
    MatchMode mode = MatchMode::Is;
    std::string pattern;

    bool Matches(const std::string& text) const;
    // "is \"...\"", "starts \"...\"" and so on, for failure messages.
    std::string Describe() const;
};

// An optional mode word (is, starts, ends, contains, glob) and then the text.
TextExpectation ReadExpectation(StepArgs& args);

bool GlobMatches(const std::string& pattern, const std::string& text);

// A control's text as the user reads it: "&Yes" shows as "Yes", "&&" as "&".
std::string WithoutMnemonics(const std::string& text);

// The text with its letters a to z in upper case, for names that Windows compares without regard
// to case (file names, module names).
std::string AsciiUpper(std::string text);
