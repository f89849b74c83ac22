// A meter canvas that records every drawing call as text, for the tests of what the meter draws.
#pragma once

#include <string>
#include <vector>

#include "ui/ProgressMeter.h"

class RecordingCanvas final : public MeterCanvas {
public:
    void DoneRectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override {
        Calls.push_back("done " + Box(left, top, right, bottom));
    }
    void RestRectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override {
        Calls.push_back("rest " + Box(left, top, right, bottom));
    }
    void PercentText(std::int32_t x, std::int32_t y, const std::string& text) override {
        Calls.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " " + text);
        Texts.push_back(text);
    }

    std::vector<std::string> Calls;
    // The percent texts alone, in order.
    std::vector<std::string> Texts;

private:
    static std::string Box(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
        return std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(r) + " " + std::to_string(b);
    }
};
