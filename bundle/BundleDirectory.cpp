#include "bundle/BundleDirectory.h"

void BundleDirectoryList::Append(std::unique_ptr<BundleEntry> entry) {
    entry->Next.reset();
    BundleEntry* added = entry.get();
    if (!First) {
        First = std::move(entry);
    } else {
        Last->Next = std::move(entry);
    }
    Last = added;
}

void BundleDirectoryList::Release() {
    // Iterative, so that a long list does not recurse through the chain of destructors.
    while (First) First = std::move(First->Next);
    Last = nullptr;
}
