// Made-up contents for seed inputs: the same on every run, with no file taken from elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzHarness.h"

// English-like text that compresses well: many matches of various lengths and distances.
FuzzBytes SeedText(std::size_t size);
// Bytes that do not compress: mostly literals.
FuzzBytes SeedNoise(std::size_t size, std::uint32_t seed);

// Names that installers have been tricked with: climbing out of the destination, drive-relative
// and stream names, devices in every spelling, names Windows trims, and the names of the bundle
// file and the archive in the destination.
extern const std::vector<std::string> HostileNames;
