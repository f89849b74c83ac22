// The fuzz harnesses as plain functions of one input, so that the libFuzzer programs, the seed
// writer and the unit test that replays past findings all run the same checks.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using FuzzBytes = std::vector<std::uint8_t>;

struct FuzzHarness {
    // Also the name of its program (fuzz_<Name>) and of its corpus and regression folders.
    std::string_view Name;
    // Runs one input. The failures the program is allowed to raise for a bad input are caught
    // inside; anything that leaves Run is a finding.
    void (*Run)(std::span<const std::uint8_t> input);
    // Inputs made with our own encoder and trailer writer, to start the corpus from.
    std::vector<FuzzBytes> (*Seeds)();
};

std::span<const FuzzHarness> FuzzHarnesses();
// The harness of that name; raises std::invalid_argument for an unknown one.
const FuzzHarness& FindFuzzHarness(std::string_view name);

// A broken invariant: what the harnesses are there to find. It is not one of the program's
// failure classes, so no harness mistakes it for an allowed outcome.
class FuzzFinding : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

[[noreturn]] void FuzzFail(const std::string& what);
