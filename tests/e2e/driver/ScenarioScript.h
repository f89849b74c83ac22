// A scenario as the driver reads it. One step per line: a command word, then its arguments,
// each a bare word or a double-quoted text. Lines starting with '#' are comments; lines starting
// with '@' are directives for the runner script and are not steps.
//
// A quoted text is taken literally (backslashes included, for Windows paths) except for {CR} and
// {LF}, which stand for a carriage return and a line feed, so that message texts fit on one line,
// and {QUOTE}, a double quote inside the text.
// A bare word of the form name=value is an option of the step (timeout=5000, tolerance=4).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct ScenarioToken {
    std::string text;
    bool quoted = false;
};

struct ScenarioStep {
    int line = 0;
    std::string source;  // the line as written, for the driver's log
    std::string command;
    std::vector<ScenarioToken> args;
};

// Throws StepFailure naming the line for a text that is not closed.
std::vector<ScenarioStep> ParseScenario(const std::string& text);

// A text as a scenario would write it: in double quotes, with {CR}, {LF} and {QUOTE}.
std::string QuotedText(const std::string& text);

// The arguments of one step, taken from the front; options are looked up by name. Every
// accessor throws StepFailure when the step is written wrongly.
class StepArgs {
public:
    explicit StepArgs(const ScenarioStep& step);

    bool AtEnd() const { return next_ == positional_.size(); }
    // The next argument is a bare word equal to word; it is taken only then.
    bool TakeWord(const std::string& word);
    std::string Word(const char* what);
    std::string Text(const char* what);
    long Number(const char* what);
    // One argument of hexadecimal byte pairs ("0a", "6e000000").
    std::vector<std::uint8_t> HexBytes(const char* what);
    long Option(const std::string& name, long fallback) const;
    // Fails when arguments or options remain that the command did not take.
    void Finish();

private:
    const ScenarioToken& Next(const char* what);

    std::vector<ScenarioToken> positional_;
    std::map<std::string, std::string> options_;
    mutable std::map<std::string, bool> optionUsed_;
    size_t next_ = 0;
};
