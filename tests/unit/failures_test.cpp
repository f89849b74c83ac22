#include <gtest/gtest.h>

#include "setup/Failures.h"

namespace {

TEST(Failures, InOutMessagesByCode) {
    const std::pair<int, const char*> cases[] = {
        {2, "File not found"},         {3, "Invalid filename"},  {4, "Too many open files"},
        {5, "File access denied"},     {100, "Read beyond end of file"}, {101, "Disk full"},
        {106, "Invalid numeric input"}, {32, "I/O error 32"},    {131, "I/O error 131"},
    };
    for (const auto& [code, message] : cases) {
        const EInOutError e(code);
        EXPECT_EQ(e.Message(), message);
        EXPECT_EQ(e.ClassName(), "EInOutError");
        EXPECT_EQ(e.ErrorCode(), code);
    }
}

TEST(Failures, ClassNamesAndMessages) {
    EXPECT_EQ(ERegistryException("Failed to create key Quenfold").ClassName(), "ERegistryException");
    EXPECT_EQ(EOutOfMemory().Message(), "Out of memory");
    EXPECT_EQ(EOutOfMemory().ClassName(), "EOutOfMemory");
    EXPECT_EQ(ElzhException("LZH : Cannot get memory for dictionary tables").ClassName(), "ElzhException");
}

TEST(Failures, ReportText) {
    EXPECT_EQ(FormatFailureReport("EInOutError", "SETUP.EXE", 0x00401A2B, "Read beyond end of file"),
              "Exception EInOutError in module SETUP.EXE at 00401A2B.\nRead beyond end of file.");
    // A message that ends with a full stop gets no second one; an empty message gets none.
    EXPECT_EQ(FormatFailureReport("E", "S.EXE", 1, "Done."), "Exception E in module S.EXE at 00000001.\nDone.");
    EXPECT_EQ(FormatFailureReport("E", "S.EXE", 1, ""), "Exception E in module S.EXE at 00000001.\n");
    // The module name is cut at 63 characters.
    const std::string longName(80, 'n');
    EXPECT_EQ(FormatFailureReport("E", longName, 1, "x"),
              "Exception E in module " + longName.substr(0, 63) + " at 00000001.\nx.");
}

TEST(Failures, RecordTheRaisingAddress) {
    EXPECT_NE(EInOutError(2).Address(), 0u);
}

}  // namespace
