// Arbitrary data through our encoder and back through the decoder, the way the setup program
// decodes: the input is the bundle. The archive must decode to exactly the input and be used the
// way the extraction demands of a sound archive, or the setup program would refuse the disks
// that our tools make.
#include <algorithm>
#include <string>

#include "bundle/BundleExtraction.h"
#include "lzh/LZHPack.h"
#include "lzh/MemoryStreams.h"
#include "tests/fuzz/Harnesses.h"
#include "tests/fuzz/SeedData.h"

void RunLzhRoundTrip(std::span<const std::uint8_t> input) {
    const FuzzBytes archive = LZHPack(input);
    const auto size = static_cast<std::int32_t>(input.size());
    const MemoryDecodeResult decoded = DecodeMemory(archive, size);
    if (!std::equal(decoded.Output.begin(), decoded.Output.end(), input.begin(), input.end())) {
        FuzzFail("the archive of " + std::to_string(input.size()) + " bytes decodes to " +
                 std::to_string(decoded.Output.size()) + " bytes that differ from them");
    }
    const ArchiveUse use{static_cast<std::int64_t>(archive.size()), static_cast<std::int64_t>(decoded.BytesDelivered),
                         static_cast<std::int64_t>(decoded.DryReads), static_cast<std::int64_t>(decoded.Output.size()),
                         size};
    if (!ArchiveUsedExactly(use)) {
        FuzzFail("the extraction would refuse the archive of " + std::to_string(input.size()) + " bytes: " +
                 std::to_string(use.Delivered) + " of its " + std::to_string(use.ArchiveSize) + " bytes taken, " +
                 std::to_string(use.DryReads) + " reads past its end");
    }
}

std::vector<FuzzBytes> LzhRoundTripSeeds() {
    return {{},
            {'A'},
            FuzzBytes(61, 'a'),
            FuzzBytes(4100, ' '),
            SeedText(5000),
            SeedNoise(2048, 3),
            // Enough symbols for the tree to be rebuilt.
            SeedNoise(33000, 5)};
}
