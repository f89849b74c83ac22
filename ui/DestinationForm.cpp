#include "ui/DestinationForm.h"

bool IsValidDestinationForm(const std::string& text) {
    return text.size() >= 2 && text[0] >= 'A' && text[0] <= 'Z' && text[1] == ':';
}
