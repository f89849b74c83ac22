// The one way a step reports that what it expected was not seen: the message says what was
// expected and what was found, and the driver prints it as the scenario's FAIL reason.
#pragma once

#include <stdexcept>
#include <string>

class StepFailure : public std::runtime_error {
public:
    explicit StepFailure(const std::string& reason) : std::runtime_error(reason) {}
};
