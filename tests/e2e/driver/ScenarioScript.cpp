#include "tests/e2e/driver/ScenarioScript.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "tests/e2e/driver/StepFailure.h"

namespace {

struct Escape {
    const char* written;
    char meant;
};

const Escape kEscapes[] = {{"{CR}", '\r'}, {"{LF}", '\n'}, {"{QUOTE}", '"'}};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string LineFailure(int line, const std::string& reason) {
    return "line " + std::to_string(line) + ": " + reason;
}

// Reads a quoted text whose opening quote is at text[pos]; leaves pos after the closing quote.
std::string ReadQuoted(const std::string& text, size_t& pos, int line) {
    std::string out;
    ++pos;
    while (pos < text.size() && text[pos] != '"') {
        bool escaped = false;
        for (const Escape& e : kEscapes) {
            if (text.compare(pos, std::char_traits<char>::length(e.written), e.written) == 0) {
                out += e.meant;
                pos += std::char_traits<char>::length(e.written);
                escaped = true;
                break;
            }
        }
        if (!escaped) out += text[pos++];
    }
    if (pos == text.size()) throw StepFailure(LineFailure(line, "text not closed with a double quote"));
    ++pos;
    return out;
}

std::vector<ScenarioToken> Tokenize(const std::string& text, int line) {
    std::vector<ScenarioToken> tokens;
    size_t pos = 0;
    while (true) {
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
        if (pos == text.size()) break;
        if (text[pos] == '"') {
            tokens.push_back({ReadQuoted(text, pos, line), true});
            if (pos < text.size() && !IsBlank(text[pos])) {
                throw StepFailure(LineFailure(line, "a blank must follow a closing quote"));
            }
        } else {
            size_t start = pos;
            while (pos < text.size() && !IsBlank(text[pos])) ++pos;
            tokens.push_back({text.substr(start, pos - start), false});
        }
    }
    return tokens;
}

}  // namespace

std::vector<ScenarioStep> ParseScenario(const std::string& text) {
    std::vector<ScenarioStep> steps;
    size_t start = 0;
    int line = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string source = text.substr(start, end - start);
        start = end + 1;
        ++line;
        while (!source.empty() && IsBlank(source.back())) source.pop_back();
        size_t first = source.find_first_not_of(" \t");
        if (first == std::string::npos || source[first] == '#' || source[first] == '@') continue;
        source.erase(0, first);

        std::vector<ScenarioToken> tokens = Tokenize(source, line);
        if (tokens.front().quoted) throw StepFailure(LineFailure(line, "a step starts with a command word"));
        ScenarioStep step;
        step.line = line;
        step.source = source;
        step.command = tokens.front().text;
        step.args.assign(tokens.begin() + 1, tokens.end());
        steps.push_back(std::move(step));
    }
    return steps;
}

std::string QuotedText(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\r') {
            out += "{CR}";
        } else if (c == '\n') {
            out += "{LF}";
        } else if (c == '"') {
            out += "{QUOTE}";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

StepArgs::StepArgs(const ScenarioStep& step) {
    for (const ScenarioToken& token : step.args) {
        size_t equals = token.quoted ? std::string::npos : token.text.find('=');
        if (equals == std::string::npos || equals == 0) {
            positional_.push_back(token);
        } else {
            std::string name = token.text.substr(0, equals);
            if (options_.count(name)) throw StepFailure("option " + name + " given twice");
            options_[name] = token.text.substr(equals + 1);
            optionUsed_[name] = false;
        }
    }
}

const ScenarioToken& StepArgs::Next(const char* what) {
    if (AtEnd()) throw StepFailure(std::string("missing argument: ") + what);
    return positional_[next_++];
}

bool StepArgs::TakeWord(const std::string& word) {
    if (AtEnd() || positional_[next_].quoted || positional_[next_].text != word) return false;
    ++next_;
    return true;
}

std::string StepArgs::Word(const char* what) {
    const ScenarioToken& token = Next(what);
    if (token.quoted) throw StepFailure(std::string("expected a bare word for ") + what + ", got " + QuotedText(token.text));
    return token.text;
}

std::string StepArgs::Text(const char* what) { return Next(what).text; }

namespace {

long ParseNumber(const std::string& text, const std::string& what) {
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0) {
        throw StepFailure("expected a number for " + what + ", got " + QuotedText(text));
    }
    return value;
}

}  // namespace

long StepArgs::Number(const char* what) { return ParseNumber(Next(what).text, what); }

std::vector<std::uint8_t> StepArgs::HexBytes(const char* what) {
    const std::string text = Word(what);
    auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::vector<std::uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size() && digit(text[i]) >= 0 && digit(text[i + 1]) >= 0; i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(digit(text[i]) * 16 + digit(text[i + 1])));
    }
    if (bytes.empty() || bytes.size() * 2 != text.size()) {
        throw StepFailure(std::string("expected pairs of hexadecimal digits for ") + what + ", got " + QuotedText(text));
    }
    return bytes;
}

long StepArgs::Option(const std::string& name, long fallback) const {
    auto found = options_.find(name);
    if (found == options_.end()) return fallback;
    optionUsed_[name] = true;
    return ParseNumber(found->second, name);
}

void StepArgs::Finish() {
    if (!AtEnd()) throw StepFailure("unexpected argument " + QuotedText(positional_[next_].text));
    for (const auto& [name, used] : optionUsed_) {
        if (!used) throw StepFailure("unknown option " + name);
    }
}
