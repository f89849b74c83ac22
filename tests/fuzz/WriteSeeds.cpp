// Writes every harness's seed inputs into <folder>/<harness>/, one file per seed.
#include <cstdio>
#include <filesystem>

#include "tests/fuzz/FuzzHarness.h"
#include "tests/fuzz/ScratchFolder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    for (const FuzzHarness& harness : FuzzHarnesses()) {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / harness.Name;
        std::filesystem::create_directories(folder);
        const std::vector<FuzzBytes> seeds = harness.Seeds();
        for (std::size_t i = 0; i < seeds.size(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "seed-%03zu", i);
            WriteBytes(folder / name, seeds[i]);
        }
        std::printf("%s: %zu seeds\n", std::string(harness.Name).c_str(), seeds.size());
    }
    return 0;
}
