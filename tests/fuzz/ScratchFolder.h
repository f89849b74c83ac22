// Folders for the harnesses that write files: one per process under the temporary folder (the
// run script points TMPDIR into the build folder), removed when the process ends normally.
#pragma once

#include <filesystem>
#include <map>
#include <span>
#include <string>

#include "tests/fuzz/FuzzHarness.h"

// This process's scratch folder, created on first use.
const std::filesystem::path& FuzzScratchRoot();

// A folder below the scratch folder, emptied or created afresh.
std::filesystem::path FreshScratchFolder(const std::string& name);

// Everything below a folder, by path relative to it: folders with no content, files with theirs.
struct TreeEntry {
    bool IsFolder = false;
    FuzzBytes Content;
    bool operator==(const TreeEntry&) const = default;
};
using FolderTree = std::map<std::filesystem::path, TreeEntry>;
FolderTree ReadFolderTree(const std::filesystem::path& folder);

// Where two trees differ first, in words, or the empty text when they are the same.
std::string TreeDifference(const FolderTree& expected, const FolderTree& actual);

// The number of open file descriptors of this process, to show that no handle is left behind.
int OpenDescriptorCount();

FuzzBytes ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
