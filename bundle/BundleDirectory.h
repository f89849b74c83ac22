// The bundle's file list, read from the directory trailer at the end of the setup program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct BundleEntry {
    std::string Name;  // a plain file name, at most 19 characters
    std::int32_t Offset = 0;
    std::int32_t Size = 0;
    std::unique_ptr<BundleEntry> Next;
};

// A singly linked list in trailer order, which is also the order of extraction.
struct BundleDirectoryList {
    std::unique_ptr<BundleEntry> First;
    BundleEntry* Last = nullptr;

    BundleDirectoryList() = default;
    BundleDirectoryList(BundleDirectoryList&&) = default;
    BundleDirectoryList& operator=(BundleDirectoryList&&) = default;
    ~BundleDirectoryList() { Release(); }

    void Append(std::unique_ptr<BundleEntry> entry);
    // Frees every entry, from First on, one at a time.
    void Release();
};
