// Refusing a damaged or tampered bundle directory before anything is written from it.
#include <gtest/gtest.h>

#include <functional>

#include "bundle/BundleDirectoryValidation.h"
#include "setup/Failures.h"

namespace {

// A sound trailer as a product's would be: a 100-byte main program, then the files back to back.
TrailerContents SoundTrailer() {
    TrailerContents trailer;
    trailer.Records = {MakeTrailerRecord("A.DAT", 100, 200), MakeTrailerRecord("B.HLP", 300, 100),
                       MakeTrailerRecord("C.LIB", 400, 600)};
    trailer.Total = 1000;
    return trailer;
}

void Rename(TrailerContents& t, std::size_t index, const std::string& name) {
    t.Records[index] = MakeTrailerRecord(name, t.Records[index].Offset, t.Records[index].Size);
}

struct BadTrailer {
    const char* what;
    std::function<void(TrailerContents&)> damage;
    const char* fault;
};

const BadTrailer badTrailers[] = {
    {"name length above 19",
     [](TrailerContents& t) {
         t.Records[1] = MakeTrailerRecord("ABCDEFGHIJKLMNOPQRS", 300, 100);
         t.Records[1].NameLength = 25;
     },
     "entry 2 \"ABCDEFGHIJKLMNOPQRS\": the name length 25 is above 19"},
    {"empty name", [](TrailerContents& t) { Rename(t, 0, ""); }, "entry 1 \"\": the name is empty"},
    {"overlapping files", [](TrailerContents& t) { t.Records[1].Offset = 150; },
     "entry 2 \"B.HLP\": the file overlaps entry 1 \"A.DAT\""},
    {"a file inside the main program", [](TrailerContents& t) { std::swap(t.Records[0], t.Records[2]); },
     "entry 3 \"A.DAT\": the file overlaps the main program"},
    {"dot", [](TrailerContents& t) { Rename(t, 2, "."); }, "entry 3 \".\": the name is not a file name"},
    {"dot dot", [](TrailerContents& t) { Rename(t, 2, ".."); }, "entry 3 \"..\": the name is not a file name"},
    {"backslash", [](TrailerContents& t) { Rename(t, 1, "..\\WIN.INI"); }, "entry 2 \"..\\WIN.INI\": the name holds a directory separator '\\'"},
    {"slash", [](TrailerContents& t) { Rename(t, 1, "../x"); }, "directory separator '/'"},
    {"drive colon", [](TrailerContents& t) { Rename(t, 1, "C:AUTOEXEC.BAT"); }, "entry 2 \"C:AUTOEXEC.BAT\": the name holds a drive or stream colon"},
    {"stream colon", [](TrailerContents& t) { Rename(t, 1, "B.HLP:hidden"); }, "colon"},
    {"control character", [](TrailerContents& t) { Rename(t, 0, "A\aB"); }, "entry 1 \"A\\x07B\": the name holds the control character 0x07"},
    {"wildcard", [](TrailerContents& t) { Rename(t, 0, "*.DAT"); }, "the character '*'"},
    {"question mark", [](TrailerContents& t) { Rename(t, 0, "A?.DAT"); }, "the character '?'"},
    {"quote", [](TrailerContents& t) { Rename(t, 0, "A\".DAT"); }, "the character '\"'"},
    {"less", [](TrailerContents& t) { Rename(t, 0, "A<B"); }, "the character '<'"},
    {"greater", [](TrailerContents& t) { Rename(t, 0, "A>B"); }, "the character '>'"},
    {"pipe", [](TrailerContents& t) { Rename(t, 0, "A|B"); }, "the character '|'"},
    {"trailing dot", [](TrailerContents& t) { Rename(t, 0, "README."); }, "ends in a dot"},
    {"trailing space", [](TrailerContents& t) { Rename(t, 0, "README "); }, "ends in a space"},
    {"device", [](TrailerContents& t) { Rename(t, 0, "CON"); }, "entry 1 \"CON\": the name is a device name"},
    {"device with extension", [](TrailerContents& t) { Rename(t, 2, "nul.txt"); }, "entry 3 \"nul.txt\": the name is a device name"},
    {"device with two extensions", [](TrailerContents& t) { Rename(t, 2, "Aux.tar.gz"); }, "device name"},
    {"device with space before the dot", [](TrailerContents& t) { Rename(t, 2, "PRN .DAT"); }, "device name"},
    {"serial port", [](TrailerContents& t) { Rename(t, 2, "com1.log"); }, "device name"},
    {"printer port", [](TrailerContents& t) { Rename(t, 2, "LPT9"); }, "device name"},
    {"superscript port", [](TrailerContents& t) { Rename(t, 2, "COM\xB9.DAT"); }, "device name"},
    {"same name ignoring case",
     [](TrailerContents& t) { Rename(t, 2, "a.dat"); },
     "entry 3 \"a.dat\": the name is the same as that of entry 1 \"A.DAT\", ignoring case"},
    {"negative offset", [](TrailerContents& t) { t.Records[1].Offset = -1; }, "entry 2 \"B.HLP\": the offset -1 is negative"},
    {"negative size", [](TrailerContents& t) { t.Records[2].Size = -600; }, "entry 3 \"C.LIB\": the size -600 is negative"},
    {"past the total", [](TrailerContents& t) { t.Records[2].Size = 601; }, "entry 3 \"C.LIB\": the file runs to byte 1001, past the bundle's end at 1000"},
    // In 32 bits the end would wrap to a negative number and pass.
    {"past the total only in 64 bits",
     [](TrailerContents& t) {
         t.Total = 0x7FFFFFFF;
         t.Records[1].Offset = 0x7FFFFFFF;
         t.Records[1].Size = 0x7FFFFFFF;
     },
     "entry 2 \"B.HLP\": the file runs to byte 4294967294, past the bundle's end at 2147483647"},
    {"negative total", [](TrailerContents& t) { t.Total = -5; }, "the bundle's size -5 is negative"},
    {"empty list", [](TrailerContents& t) { t.Records.clear(); }, "it lists no file"},
    {"first offset 0", [](TrailerContents& t) { t.Records[0].Offset = 0; }, "entry 1 \"A.DAT\": the first file starts at 0, which leaves no main program"},
};

TEST(BundleValidationTest, RefusesEveryDamageNamingTheEntryAndTheFault) {
    ASSERT_EQ(TrailerFault(SoundTrailer()), "");
    for (const BadTrailer& bad : badTrailers) {
        TrailerContents trailer = SoundTrailer();
        bad.damage(trailer);
        try {
            ValidateTrailer(trailer);
            ADD_FAILURE() << bad.what << ": accepted";
        } catch (const EDamagedFileList& failure) {
            EXPECT_EQ(failure.ClassName(), "EDamagedFileList");
            EXPECT_EQ(failure.Message().rfind("The setup program's file list is damaged: ", 0), 0u) << bad.what;
            EXPECT_NE(failure.Message().find(bad.fault), std::string::npos) << bad.what << ": " << failure.Message();
        }
    }
}

// A trailer that fits the layout and the rules is taken as it is, also when the product's maker
// would not have written it that way.
TEST(BundleValidationTest, TakesUnusualButHarmlessTrailers) {
    const std::function<void(TrailerContents&)> harmless[] = {
        [](TrailerContents& t) { std::swap(t.Records[1], t.Records[2]); },                 // out of order
        [](TrailerContents& t) { t.Records.push_back(MakeTrailerRecord("NONE", 50, 0)); },  // empty, anywhere
        [](TrailerContents& t) { t.Records[2] = MakeTrailerRecord("EMPTY", 1000, 0); },    // empty, at the end
        [](TrailerContents& t) { t.Total = 5000; },                                        // bytes after the last
        [](TrailerContents& t) { Rename(t, 0, "ABCDEFGHIJKLMNOPQRS"); },                   // 19 characters
        [](TrailerContents& t) { Rename(t, 0, "Caf\xE9 menu.txt"); },                      // ANSI, inner space
        [](TrailerContents& t) { Rename(t, 0, ".profile"); },
        [](TrailerContents& t) { Rename(t, 0, "CONSOLE.TXT"); },
        [](TrailerContents& t) { Rename(t, 0, "COM10"); },
        [](TrailerContents& t) { Rename(t, 0, "LPT0.DAT"); },
        [](TrailerContents& t) { Rename(t, 0, "NULL"); },
        [](TrailerContents& t) { Rename(t, 0, "x.con"); },
    };
    for (const auto& change : harmless) {
        TrailerContents trailer = SoundTrailer();
        change(trailer);
        EXPECT_EQ(TrailerFault(trailer), "") << trailer.Records[0].Name();
    }
}

TEST(BundleValidationTest, FileNamesCompareIgnoringTheCaseOfLettersOnly) {
    EXPECT_TRUE(SameFileName("Tavimore.Exe", "TAVIMORE.EXE"));
    EXPECT_FALSE(SameFileName("A_B", "A\x7F" "B"));
    EXPECT_FALSE(SameFileName("[1]", "{1}"));
}

}  // namespace
