// The work of the Progress dialog: decode the archive into the bundle file, delete the archive,
// split the product's files out of the bundle and cut it back to the main program.
#pragma once

#include <cstdint>

// Whether a decoding of BundleTotal bytes used the archive the way a stream made for that size is
// used: up to its last byte or two, without running dry early and without output past the total.
struct ArchiveUse {
    std::int64_t ArchiveSize;
    std::int64_t Delivered;  // bytes the source handed to the decoder
    std::int64_t DryReads;   // source calls that found the archive used up
    std::int64_t Decoded;    // bytes the decoder gave to the sink
    std::int64_t Expected;   // BundleTotal
};
bool ArchiveUsedExactly(const ArchiveUse& use);

// The whole work; ends with ContinueFlag clear when the user cancelled or the bundle file can be
// neither created nor opened. Failures of the archive, the bundle or the split raise EInOutError;
// an archive that does not fit the directory raises EDamagedArchive before anything is split out.
void ExtractBundle();

// Copies every listed file out of the bundle file (help files to the Windows help directory,
// existing ".LIB" and ".DTP" files kept), cuts the bundle back to the first entry's offset and
// releases the list.
void SplitBundle();
