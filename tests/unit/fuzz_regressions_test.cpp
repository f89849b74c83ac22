// Replays the fuzz harnesses without libFuzzer, in every build: their seeds, and the inputs of
// past findings kept under tests/fuzz/regressions/<harness>/. A finding that comes back fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bundle/BundleDirectoryValidation.h"
#include "tests/fuzz/FuzzHarness.h"
#include "tests/fuzz/ScratchFolder.h"
#include "tests/fuzz/SeedData.h"
#include "tests/fuzz/TrailerOracle.h"

namespace {

void Replay(const FuzzHarness& harness, const FuzzBytes& input, const std::string& what) {
    try {
        harness.Run(input);
    } catch (const FuzzFinding& finding) {
        ADD_FAILURE() << harness.Name << ", " << what << ": " << finding.what();
    } catch (const std::exception& failure) {
        ADD_FAILURE() << harness.Name << ", " << what << ": unexpected exception: " << failure.what();
    }
}

class FuzzReplay : public ::testing::TestWithParam<std::string_view> {};

TEST_P(FuzzReplay, SeedsAndPastFindingsKeepEveryInvariant) {
    const FuzzHarness& harness = FindFuzzHarness(GetParam());
    const std::vector<FuzzBytes> seeds = harness.Seeds();
    ASSERT_FALSE(seeds.empty());
    for (std::size_t i = 0; i < seeds.size(); ++i) Replay(harness, seeds[i], "seed " + std::to_string(i));

    const std::filesystem::path folder = std::filesystem::path(QUENFOLD_FUZZ_REGRESSIONS) / harness.Name;
    if (!std::filesystem::is_directory(folder)) return;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        Replay(harness, ReadBytes(entry.path()), entry.path().filename().string());
    }
}

std::vector<std::string_view> HarnessNames() {
    std::vector<std::string_view> names;
    for (const FuzzHarness& harness : FuzzHarnesses()) names.push_back(harness.Name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Harnesses, FuzzReplay, ::testing::ValuesIn(HarnessNames()),
                         [](const auto& info) { return std::string(info.param); });

// The harnesses judge the program by these rules; a rule that let a hostile name through would
// hide every finding about it.
TEST(FuzzOracle, RefusesEveryHostileNameButTheArchives) {
    for (const std::string& name : HostileNames) {
        TrailerContents trailer;
        trailer.Records = {MakeTrailerRecord("A.DAT", 10, 5), MakeTrailerRecord(name, 15, 5)};
        trailer.Total = 20;
        EXPECT_EQ(TrailerProblem(trailer).empty(), name == "Tavimore._MV") << PrintableName(name);
    }
}

}  // namespace
