#include "tests/fuzz/FuzzHarness.h"

#include <array>

#include "tests/fuzz/Harnesses.h"

namespace {

constexpr std::array<FuzzHarness, 5> Table = {{
    {"lzh_unpack", RunLzhUnpack, LzhUnpackSeeds},
    {"lzh_round_trip", RunLzhRoundTrip, LzhRoundTripSeeds},
    {"trailer", RunTrailer, TrailerSeeds},
    {"split", RunSplit, SplitSeeds},
    {"mkdisks", RunMkdisksCommands, MkdisksSeeds},
}};

}  // namespace

std::span<const FuzzHarness> FuzzHarnesses() { return Table; }

const FuzzHarness& FindFuzzHarness(std::string_view name) {
    for (const FuzzHarness& harness : Table) {
        if (harness.Name == name) return harness;
    }
    throw std::invalid_argument("no fuzz harness is called " + std::string(name));
}

void FuzzFail(const std::string& what) { throw FuzzFinding(what); }
