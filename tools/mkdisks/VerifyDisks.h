// `mkdisks verify` and `mkdisks list`: what a set of disks holds, judged the way the setup program
// will read it.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

struct VerifyOptions {
    // Disk 1 first. A volume whose disk folder is not given is looked for on disk 1, as the
    // setup program takes a volume that is already beside it.
    std::vector<std::filesystem::path> Disks;
    std::optional<std::filesystem::path> Against;
    // The setup program on disk 1; without it, the one ".EXE" file there.
    std::optional<std::filesystem::path> Setup;
};

// Reads the trailer, joins and decodes the volumes, and compares every file with the product
// folder when there is one. Reports each step and every difference to out; true when all is sound.
// Unreadable inputs raise MkdisksError.
bool VerifyDisks(const VerifyOptions& options, std::ostream& out, std::ostream& log);

// Prints the trailer of the setup program at path: the total, then each entry's name, offset and
// size, then its fault if it has one. True when the trailer is sound.
bool ListTrailer(const std::filesystem::path& setup, std::ostream& out);
