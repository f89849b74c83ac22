// Runs the LHA extractor lhasa on an archive file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// The lhasa program on PATH, or nothing when it is not installed.
std::optional<std::filesystem::path> FindLhasa();

struct LhasaResult {
    int ExitStatus = -1;
    std::vector<std::uint8_t> Output;  // what "lhasa -pq" printed: the members' contents
};

// Extracts every member of the archive to standard output and collects it.
LhasaResult LhasaPrint(const std::filesystem::path& lhasa, const std::filesystem::path& archive);
