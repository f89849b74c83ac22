#include "tests/e2e/driver/Placeholders.h"

#include "tests/e2e/driver/ScenarioScript.h"
#include "tests/e2e/driver/StepFailure.h"

std::string ExpandPlaceholders(const std::string& text,
                               const std::function<std::optional<std::string>(const std::string&)>& lookup) {
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find('%', pos);
        if (open == std::string::npos) {
            out += text.substr(pos);
            break;
        }
        size_t close = text.find('%', open + 1);
        if (close == std::string::npos) throw StepFailure("unclosed %NAME% in " + QuotedText(text));
        out += text.substr(pos, open - pos);
        std::string name = text.substr(open + 1, close - open - 1);
        if (name.empty()) {
            out += '%';
        } else {
            std::optional<std::string> value = lookup(name);
            if (!value) throw StepFailure("unknown folder %" + name + "% in " + QuotedText(text));
            out += *value;
        }
        pos = close + 1;
    }
    return out;
}
