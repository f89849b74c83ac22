// A progress line on the error stream, for work on inputs large enough to keep the maker waiting.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

class ProgressLine {
public:
    // Below this many bytes the work is quick and the line stays silent.
    static constexpr std::uint64_t Threshold = 4u << 20;

    ProgressLine(std::ostream& log, std::string what, std::uint64_t total);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Rewrites the line when the whole percent has changed.
    void Show(std::uint64_t done);

private:
    std::ostream& log_;
    std::string what_;
    std::uint64_t total_;
    bool active_;
    int shown_ = -1;
};
