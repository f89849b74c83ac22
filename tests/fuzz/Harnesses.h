// The harnesses one by one; FuzzHarnesses() lists them by name.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tests/fuzz/FuzzHarness.h"

// LZHUnpack on an arbitrary archive, through memory-backed byte procedures.
void RunLzhUnpack(std::span<const std::uint8_t> input);
std::vector<FuzzBytes> LzhUnpackSeeds();

// Arbitrary data through our encoder and back through the decoder.
void RunLzhRoundTrip(std::span<const std::uint8_t> input);
std::vector<FuzzBytes> LzhRoundTripSeeds();

// ReadBundleDirectory and its validation on an arbitrary setup file.
void RunTrailer(std::span<const std::uint8_t> input);
std::vector<FuzzBytes> TrailerSeeds();

// The split of a bundle by an arbitrary directory, inside scratch folders.
void RunSplit(std::span<const std::uint8_t> input);
std::vector<FuzzBytes> SplitSeeds();

// The disk tool's list and verify commands on arbitrary setup files and damaged disks.
void RunMkdisksCommands(std::span<const std::uint8_t> input);
std::vector<FuzzBytes> MkdisksSeeds();
