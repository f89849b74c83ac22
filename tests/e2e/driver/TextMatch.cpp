#include "tests/e2e/driver/TextMatch.h"

#include "tests/e2e/driver/ScenarioScript.h"

namespace {

struct ModeWord {
    const char* word;
    MatchMode mode;
};

const ModeWord kModeWords[] = {
    {"is", MatchMode::Is},
    {"starts", MatchMode::StartsWith},
    {"ends", MatchMode::EndsWith},
    {"contains", MatchMode::Contains},
    {"glob", MatchMode::Glob},
};

}  // namespace

bool GlobMatches(const std::string& pattern, const std::string& text) {
    // Iterative matching with one remembered star: on a mismatch the last star swallows one more
    // character, which is enough because a later star can only widen what an earlier one left.
    size_t p = 0, t = 0, starP = std::string::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool TextExpectation::Matches(const std::string& text) const {
    switch (mode) {
        case MatchMode::Is: return text == pattern;
        case MatchMode::StartsWith: return text.compare(0, pattern.size(), pattern) == 0;
        case MatchMode::EndsWith:
            return text.size() >= pattern.size() && text.compare(text.size() - pattern.size(), pattern.size(), pattern) == 0;
        case MatchMode::Contains: return text.find(pattern) != std::string::npos;
        case MatchMode::Glob: return GlobMatches(pattern, text);
    }
    return false;
}

std::string TextExpectation::Describe() const {
    for (const ModeWord& m : kModeWords) {
        if (m.mode == mode) return std::string(m.word) + " " + QuotedText(pattern);
    }
    return QuotedText(pattern);
}

TextExpectation ReadExpectation(StepArgs& args) {
    TextExpectation expectation;
    for (const ModeWord& m : kModeWords) {
        if (args.TakeWord(m.word)) {
            expectation.mode = m.mode;
            break;
        }
    }
    expectation.pattern = args.Text("expected text");
    return expectation;
}

std::string WithoutMnemonics(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

std::string AsciiUpper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}
