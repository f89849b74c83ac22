// LZHUnpack when its tables cannot be had. This program replaces the global allocation functions
// so that large requests can be refused on demand; it holds nothing else.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "lzh/LZHUnpack.h"
#include "setup/Failures.h"
#include "setup/SetupState.h"

namespace {

// While set, requests of this size or more fail: the decoder's tables, not the exception's text.
std::size_t RefuseFrom = 0;

int ProcCalls = 0;
void CountingProc(void*, std::uint16_t, std::uint16_t& actual) {
    ++ProcCalls;
    actual = 0;
}

}  // namespace

void* operator new(std::size_t size) {
    if (RefuseFrom != 0 && size >= RefuseFrom) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(LZHUnpackMemory, RefusedTablesRaiseElzhExceptionBeforeAnyCall) {
    SetupState.ContinueFlag = 1;
    for (std::int32_t size : {100, 0}) {
        ProcCalls = 0;
        RefuseFrom = 1024;
        try {
            LZHUnpack(size, CountingProc, CountingProc);
            RefuseFrom = 0;
            ADD_FAILURE() << "no exception for size " << size;
        } catch (const ElzhException& e) {
            RefuseFrom = 0;
            EXPECT_EQ(e.ClassName(), "ElzhException");
            EXPECT_EQ(e.Message(), "LZH : Cannot get memory for dictionary tables");
        }
        EXPECT_EQ(ProcCalls, 0) << "size " << size;
    }
    // With memory to spare, the same call works.
    LZHUnpack(100, CountingProc, CountingProc);
    EXPECT_GT(ProcCalls, 0);
    SetupState.ContinueFlag = 0;
}

}  // namespace
