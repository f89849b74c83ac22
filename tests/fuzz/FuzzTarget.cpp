// The libFuzzer entry of one harness, chosen when the program is built.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/FuzzHarness.h"

#ifndef QUENFOLD_FUZZ_HARNESS
#error "QUENFOLD_FUZZ_HARNESS names the harness this program runs"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzHarness& harness = FindFuzzHarness(QUENFOLD_FUZZ_HARNESS);
    try {
        harness.Run({data, size});
    } catch (const FuzzFinding& finding) {
        // An abort is what libFuzzer records as a crash, with the input that caused it.
        std::fprintf(stderr, "FUZZ FINDING in %s: %s\n", QUENFOLD_FUZZ_HARNESS, finding.what());
        std::abort();
    }
    return 0;
}
