// The portable parts of the end-to-end driver: the scenario language, text expectations, the
// PNG writer of its screenshots, the folder placeholders, the edits of a setup program's file
// list and the reading of a progress meter's row.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "bundle/BundleDirectoryReader.h"
#include "bundle/BundleDirectoryValidation.h"
#include "bundle/TrailerWriter.h"
#include "tests/e2e/driver/MeterRow.h"
#include "tests/e2e/driver/PixelColor.h"
#include "tests/e2e/driver/Placeholders.h"
#include "tests/e2e/driver/PngWriter.h"
#include "tests/e2e/driver/ScenarioScript.h"
#include "tests/e2e/driver/StepFailure.h"
#include "tests/e2e/driver/TextMatch.h"
#include "tests/e2e/driver/TrailerEdit.h"
#include "tests/support/TempDir.h"

namespace {

ScenarioStep OneStep(const std::string& line) {
    std::vector<ScenarioStep> steps = ParseScenario(line);
    EXPECT_EQ(steps.size(), 1u);
    return steps.at(0);
}

std::string FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const StepFailure& failure) {
        return failure.what();
    }
    return "no failure";
}

TEST(ScenarioScript, StepsKeepTheirLinesAndSkipCommentsAndDirectives) {
    const std::string text =
        "# a comment\r\n"
        "@screen 800x600\r\n"
        "\r\n"
        "  window main caption \"Destination Directory\"  \r\n"
        "set-text main 104 \"C:\\E2E\\new\\x\"\n"
        "static-text box \"line one{CR}{LF}{LF}line two\"";
    std::vector<ScenarioStep> steps = ParseScenario(text);
    ASSERT_EQ(steps.size(), 3u);

    EXPECT_EQ(steps[0].line, 4);
    EXPECT_EQ(steps[0].source, "window main caption \"Destination Directory\"");
    EXPECT_EQ(steps[0].command, "window");
    ASSERT_EQ(steps[0].args.size(), 3u);
    EXPECT_EQ(steps[0].args[2].text, "Destination Directory");
    EXPECT_TRUE(steps[0].args[2].quoted);
    EXPECT_FALSE(steps[0].args[1].quoted);

    // Backslashes are literal, so that \n in a path stays a backslash and an n.
    EXPECT_EQ(steps[1].args[2].text, "C:\\E2E\\new\\x");
    EXPECT_EQ(steps[2].args[1].text, "line one\r\n\nline two");
}

TEST(ScenarioScript, MisformedLinesNameTheirLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"ok\nwindow main caption \"open", "line 2: text not closed"},
        {"caption main \"a\"b", "line 1: a blank must follow a closing quote"},
        {"\n\n\"start\" main", "line 3: a step starts with a command word"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(FailureOf([&] { ParseScenario(c.first); }).find(c.second), std::string::npos) << c.first;
    }
}

TEST(ScenarioScript, QuotedTextReadsBackAsTheSameText) {
    const std::string texts[] = {
        "Quenfold has been successfully installed.\r\n\r\nDo you wish to run Quenfold?",
        "entry 1 \"..\\EVIL.TXT\": the name holds a directory separator '\\'",
        "\"",
    };
    for (const std::string& text : texts) {
        ScenarioStep step = OneStep("static-text box " + QuotedText(text));
        EXPECT_EQ(step.args.at(1).text, text);
    }
}

TEST(ScenarioScript, QuoteEscapeDoesNotCloseTheText) {
    ScenarioStep step = OneStep("static-text box \"entry 1 {QUOTE}CON{QUOTE}: a device\" timeout=5");
    ASSERT_EQ(step.args.size(), 3u);
    EXPECT_EQ(step.args[1].text, "entry 1 \"CON\": a device");
    EXPECT_EQ(step.args[2].text, "timeout=5");
}

TEST(StepArgs, TakesPositionalArgumentsAndOptionsApart) {
    ScenarioStep step = OneStep("pixel 22 timeout=500 25 \"x=1\" tolerance=3");
    StepArgs args(step);
    EXPECT_EQ(args.Number("x"), 22);
    EXPECT_EQ(args.Number("y"), 25);
    EXPECT_EQ(args.Text("quoted"), "x=1");  // a quoted text is never an option
    EXPECT_EQ(args.Option("timeout", 9), 500);
    EXPECT_EQ(args.Option("tolerance", 9), 3);
    EXPECT_EQ(args.Option("absent", 9), 9);
    EXPECT_TRUE(args.AtEnd());
    EXPECT_NO_THROW(args.Finish());
}

TEST(StepArgs, RefusesWhatTheCommandDoesNotTake) {
    EXPECT_NE(FailureOf([] {
                  StepArgs args(OneStep("click main 1 2"));
                  args.Word("name");
                  args.Number("id");
                  args.Finish();
              }).find("unexpected argument \"2\""),
              std::string::npos);
    EXPECT_NE(FailureOf([] {
                  StepArgs args(OneStep("stays main fro=500"));
                  args.Word("name");
                  args.Option("for", 1000);
                  args.Finish();
              }).find("unknown option fro"),
              std::string::npos);
    EXPECT_NE(FailureOf([] { StepArgs args(OneStep("stays main for=1 for=2")); }).find("given twice"),
              std::string::npos);
    EXPECT_NE(FailureOf([] {
                  StepArgs args(OneStep("click main"));
                  args.Word("name");
                  args.Number("control id");
              }).find("missing argument: control id"),
              std::string::npos);
    EXPECT_NE(FailureOf([] {
                  StepArgs args(OneStep("click main 1x"));
                  args.Word("name");
                  args.Number("control id");
              }).find("expected a number for control id, got \"1x\""),
              std::string::npos);
    EXPECT_NE(FailureOf([] { StepArgs(OneStep("click \"main\" 1")).Word("window name"); }).find("bare word"),
              std::string::npos);
}

TEST(StepArgs, HexBytesArePairsOfDigits) {
    StepArgs args(OneStep("append-bytes f 0a 6E00ff \"00\" 0 0x1 0g"));
    args.Word("path");
    EXPECT_EQ(args.HexBytes("a"), (std::vector<std::uint8_t>{0x0A}));
    EXPECT_EQ(args.HexBytes("b"), (std::vector<std::uint8_t>{0x6E, 0x00, 0xFF}));
    for (const char* wrong : {"\"00\"", "\"0\"", "\"0x1\"", "\"0g\""}) {
        EXPECT_NE(FailureOf([&] { args.HexBytes("c"); }).find(wrong), std::string::npos) << wrong;
    }
}

TEST(TextExpectation, ModeWordsAreBareWordsBeforeTheText) {
    StepArgs withMode(OneStep("caption box starts \"Exception\""));
    withMode.Word("name");
    TextExpectation expected = ReadExpectation(withMode);
    EXPECT_EQ(expected.mode, MatchMode::StartsWith);
    EXPECT_EQ(expected.pattern, "Exception");

    // A quoted "ends" is the text itself, not a mode.
    StepArgs quoted(OneStep("caption box \"ends\""));
    quoted.Word("name");
    expected = ReadExpectation(quoted);
    EXPECT_EQ(expected.mode, MatchMode::Is);
    EXPECT_EQ(expected.pattern, "ends");
}

TEST(TextExpectation, TableOfModes) {
    const struct {
        MatchMode mode;
        std::string pattern, text;
        bool matches;
    } cases[] = {
        {MatchMode::Is, "Quenfold", "Quenfold", true},
        {MatchMode::Is, "Quenfold", "Quenfold ", false},
        {MatchMode::StartsWith, "Exit ", "Exit Quenfold", true},
        {MatchMode::StartsWith, "Exit Quenfold!", "Exit Quenfold", false},
        {MatchMode::EndsWith, "file.", "Read beyond end of file.", true},
        {MatchMode::EndsWith, "Read beyond end of file.", "file.", false},
        {MatchMode::Contains, "SETUP.EXE", "in module SETUP.EXE at", true},
        {MatchMode::Contains, "setup.exe", "in module SETUP.EXE at", false},
        {MatchMode::Glob, "Exception EInOutError in module SETUP.EXE at ????????.\nFile not found.",
         "Exception EInOutError in module SETUP.EXE at 0040A1B2.\nFile not found.", true},
        {MatchMode::Glob, "Exception EInOutError in module SETUP.EXE at ????????.\nFile not found.",
         "Exception EInOutError in module SETUP.EXE at 40A1B2.\nFile not found.", false},
        {MatchMode::Glob, "*", "", true},
        {MatchMode::Glob, "?", "", false},
        {MatchMode::Glob, "a*b*c", "aXbYbZc", true},
        {MatchMode::Glob, "a*b*c", "aXbYbZ", false},
        {MatchMode::Glob, "*.", "I/O error 32.", true},
        {MatchMode::Glob, "**a", "bba", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ((TextExpectation{c.mode, c.pattern}.Matches(c.text)), c.matches)
            << TextExpectation{c.mode, c.pattern}.Describe() << " against " << QuotedText(c.text);
    }
}

TEST(TextExpectation, LabelsAreReadWithoutMnemonics) {
    EXPECT_EQ(WithoutMnemonics("&Yes"), "Yes");
    EXPECT_EQ(WithoutMnemonics("Save && Exit"), "Save & Exit");
    EXPECT_EQ(WithoutMnemonics("OK&"), "OK&");
    EXPECT_EQ(WithoutMnemonics("I Agree"), "I Agree");
}

TEST(PngWriter, ChecksumsMatchPublishedValues) {
    const std::string check = "123456789";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(check.data());
    EXPECT_EQ(Crc32(bytes, check.size()), 0xCBF43926u);
    EXPECT_EQ(Crc32(reinterpret_cast<const std::uint8_t*>("IEND"), 4), 0xAE426082u);
    // Continuing a run gives the same as one run over everything.
    EXPECT_EQ(Crc32(bytes + 4, 5, Crc32(bytes, 4)), 0xCBF43926u);

    const std::string wiki = "Wikipedia";
    EXPECT_EQ(Adler32(reinterpret_cast<const std::uint8_t*>(wiki.data()), wiki.size()), 0x11E60398u);
}

TEST(PngWriter, AdlerStaysExactOverLongRunsOfHighBytes) {
    // All 0xFF is the input that overflows unreduced sums soonest.
    std::vector<std::uint8_t> data(100000, 0xFF);
    std::uint64_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(Adler32(data.data(), data.size()), static_cast<std::uint32_t>((b << 16) | a));
}

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& data, size_t at) {
    return (std::uint32_t{data[at]} << 24) | (data[at + 1] << 16) | (data[at + 2] << 8) | data[at + 3];
}

// Reads the chunks back, checking every CRC, and inflates the stored blocks of IDAT.
struct ReadPng {
    std::map<std::string, std::vector<std::uint8_t>> chunks;
    std::vector<std::string> order;
    std::vector<std::uint8_t> raw;
    int storedBlocks = 0;

    explicit ReadPng(const std::vector<std::uint8_t>& png) {
        const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
        size_t pos = 8;
        while (pos < png.size()) {
            std::uint32_t length = BigEndian32(png, pos);
            std::string type(png.begin() + pos + 4, png.begin() + pos + 8);
            EXPECT_EQ(Crc32(png.data() + pos + 4, length + 4), BigEndian32(png, pos + 8 + length)) << type;
            chunks[type].assign(png.begin() + pos + 8, png.begin() + pos + 8 + length);
            order.push_back(type);
            pos += 12 + length;
        }
        EXPECT_EQ(pos, png.size());
        const std::vector<std::uint8_t>& zlib = chunks["IDAT"];
        EXPECT_EQ((zlib.at(0) * 256 + zlib.at(1)) % 31, 0) << "zlib header check";
        size_t at = 2;
        bool final = false;
        while (!final) {
            final = zlib.at(at) & 1;
            EXPECT_EQ(zlib[at] >> 1, 0) << "stored block";
            unsigned length = zlib[at + 1] | (zlib[at + 2] << 8);
            unsigned complement = zlib[at + 3] | (zlib[at + 4] << 8);
            EXPECT_EQ(length ^ 0xFFFF, complement);
            raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + length);
            at += 5 + length;
            ++storedBlocks;
        }
        EXPECT_EQ(BigEndian32(zlib, at), Adler32(raw.data(), raw.size()));
        EXPECT_EQ(at + 4, zlib.size());
    }
};

TEST(PngWriter, ImageReadsBackRowByRow) {
    // 200 x 150 RGB is 90,150 bytes with the filter bytes: more than one stored block.
    const int width = 200, height = 150;
    std::vector<std::uint8_t> rgb(width * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 7 + i / 600);

    ReadPng png(EncodePng(width, height, rgb));
    EXPECT_EQ(png.order, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    const std::vector<std::uint8_t>& header = png.chunks["IHDR"];
    EXPECT_EQ(BigEndian32(header, 0), 200u);
    EXPECT_EQ(BigEndian32(header, 4), 150u);
    EXPECT_EQ(std::vector<std::uint8_t>(header.begin() + 8, header.end()), (std::vector<std::uint8_t>{8, 2, 0, 0, 0}));
    EXPECT_EQ(png.storedBlocks, 2);

    ASSERT_EQ(png.raw.size(), static_cast<size_t>(height) * (width * 3 + 1));
    for (int y = 0; y < height; ++y) {
        const auto row = png.raw.begin() + y * (width * 3 + 1);
        ASSERT_EQ(*row, 0) << "filter byte of row " << y;
        ASSERT_TRUE(std::equal(row + 1, row + 1 + width * 3, rgb.begin() + y * width * 3)) << "row " << y;
    }
}

TEST(PngWriter, OnePixelImageAndWrongSizes) {
    ReadPng png(EncodePng(1, 1, {255, 255, 0}));
    EXPECT_EQ(png.raw, (std::vector<std::uint8_t>{0, 255, 255, 0}));
    EXPECT_EQ(png.storedBlocks, 1);

    EXPECT_THROW(EncodePng(2, 2, std::vector<std::uint8_t>(11)), std::invalid_argument);
    EXPECT_THROW(EncodePng(0, 1, {}), std::invalid_argument);
}

TEST(Placeholders, FoldersAreReplacedAndUnknownNamesRefused) {
    auto lookup = [](const std::string& name) -> std::optional<std::string> {
        if (name == "PROGRAMS") return std::string("C:\\users\\u\\Start Menu\\Programs");
        return std::nullopt;
    };
    EXPECT_EQ(ExpandPlaceholders("%PROGRAMS%\\Quenfold.LNK", lookup), "C:\\users\\u\\Start Menu\\Programs\\Quenfold.LNK");
    EXPECT_EQ(ExpandPlaceholders("C:\\100%%\\x", lookup), "C:\\100%\\x");
    EXPECT_EQ(ExpandPlaceholders("C:\\E2E", lookup), "C:\\E2E");
    EXPECT_NE(FailureOf([&] { ExpandPlaceholders("%DESKTOP%\\x", lookup); }).find("unknown folder %DESKTOP%"),
              std::string::npos);
    EXPECT_NE(FailureOf([&] { ExpandPlaceholders("%PROGRAMS", lookup); }).find("unclosed"), std::string::npos);
}

TEST(PixelColor, ToleranceIsPerChannelAndInclusive) {
    const Rgb yellow{255, 255, 0};
    EXPECT_TRUE(ColorsClose(yellow, {255, 255, 0}, 0));
    EXPECT_FALSE(ColorsClose({0, 0, 255}, {0, 0, 254}, 0));
    EXPECT_TRUE(ColorsClose(yellow, {253, 255, 2}, 2));
    EXPECT_FALSE(ColorsClose(yellow, {253, 255, 3}, 2));
    EXPECT_EQ(DescribeRgb({1, 2, 3}), "(1, 2, 3)");
}

// A program of 100 bytes with a sound trailer: the main program, then A.DAT and B.DAT.
std::vector<std::uint8_t> SetupWithTrailer() {
    std::vector<std::uint8_t> file(100, 0xAA);
    TrailerContents trailer;
    trailer.Records = {MakeTrailerRecord("A.DAT", 10, 5), MakeTrailerRecord("B.DAT", 15, 5)};
    trailer.Total = 20;
    std::vector<std::uint8_t> bytes = TrailerBytes(trailer);
    file.insert(file.end(), bytes.begin(), bytes.end());
    return file;
}

// The trailer as the setup program reads it from a file of these bytes.
TrailerContents ReadBack(const std::vector<std::uint8_t>& file) {
    TempDir dir;
    dir.Write("SETUP.EXE", file);
    return ReadTrailer(dir.Path("SETUP.EXE"));
}

TEST(TrailerEdit, EachEditReachesTheSetupProgramAsTheFaultItMeans) {
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> edit;
        const char* fault;
    };
    const Case cases[] = {
        {"name", [](auto& f) { SetTrailerName(f, 2, "..\\EVIL.TXT"); },
         "entry 2 \"..\\EVIL.TXT\": the name holds a directory separator '\\'"},
        {"name length",
         [](auto& f) {
             SetTrailerName(f, 1, "NINETEEN_CHARS.DATA");
             SetTrailerNameLength(f, 1, 20);
         },
         "entry 1 \"NINETEEN_CHARS.DATA\": the name length 20 is above 19"},
        {"size", [](auto& f) { SetTrailerField(f, 2, TrailerField::Size, 6); },
         "entry 2 \"B.DAT\": the file runs to byte 21, past the bundle's end at 20"},
        {"offset moved back",
         [](auto& f) { SetTrailerField(f, 2, TrailerField::Offset, TrailerFieldValue(f, 2, TrailerField::Offset) - 1); },
         "entry 2 \"B.DAT\": the file overlaps entry 1 \"A.DAT\""},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file = SetupWithTrailer();
        c.edit(file);
        EXPECT_EQ(TrailerFault(ReadBack(file)), c.fault) << c.what;
    }
}

TEST(TrailerEdit, EditsTouchOnlyTheirOwnBytes) {
    const std::vector<std::uint8_t> original = SetupWithTrailer();
    std::vector<std::uint8_t> file = original;
    SetTrailerName(file, 1, "C:X");
    SetTrailerField(file, 1, TrailerField::Offset, -5);
    SetTrailerCount(file, 200);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < file.size(); ++i) changed += file[i] != original[i];
    // Record 1 starts 61 bytes before the end: its length byte, "C:X" over "A.DAT" (the last two
    // characters cleared), offset 10 -> -5 (all four bytes), and the count byte.
    EXPECT_EQ(changed, 1u + 5u + 4u + 1u);
    EXPECT_EQ(file[file.size() - 61], 3);
    EXPECT_EQ(TrailerCount(file), 200u);

    file = original;
    SetTrailerName(file, 2, "X");
    EXPECT_EQ(ReadBack(file).Records[1].NameChars[1], 0) << "the old name's rest is cleared";

    RemoveTrailer(file);
    EXPECT_EQ(file, std::vector<std::uint8_t>(100, 0xAA));
}

TEST(TrailerEdit, RefusesWhatTheFileOrTheFieldCannotHold) {
    const std::pair<std::function<void(std::vector<std::uint8_t>&)>, std::string> cases[] = {
        {[](auto& f) { SetTrailerName(f, 0, "X"); }, "entries 1 to 2, not 0"},
        {[](auto& f) { SetTrailerName(f, 3, "X"); }, "entries 1 to 2, not 3"},
        {[](auto& f) { SetTrailerName(f, 1, std::string(20, 'X')); }, "at most 19"},
        {[](auto& f) { SetTrailerNameLength(f, 1, 256); }, "0 to 255"},
        {[](auto& f) { SetTrailerCount(f, -1); }, "0 to 255"},
        {[](auto& f) { SetTrailerField(f, 1, TrailerField::Size, 1LL << 31); }, "does not fit 32 bits"},
        {[](auto& f) {
             SetTrailerCount(f, 255);
             SetTrailerName(f, 1, "X");
         },
         "too short for its trailer's records"},
        {[](auto& f) {
             SetTrailerCount(f, 255);
             RemoveTrailer(f);
         },
         "too short for its trailer's records"},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> file = SetupWithTrailer();
        EXPECT_NE(FailureOf([&] { c.first(file); }).find(c.second), std::string::npos) << c.second;
    }
}

std::vector<MeterPixel> Row(const std::string& pattern) {
    std::vector<MeterPixel> row;
    for (char c : pattern) {
        row.push_back(c == 'r' ? MeterPixel::Done : c == 'w' ? MeterPixel::Rest : c == '#' ? MeterPixel::Hidden
                                                                                         : MeterPixel::Other);
    }
    return row;
}

TEST(MeterRow, TableOfRows) {
    struct Case {
        const char* row;
        int end;
        const char* fault;  // a part of the fault, or empty for a sound row
    };
    const Case cases[] = {
        {"rrrrwwwwwwww", 4, ""},
        {"rrrrrwwwwwww", 4, ""},  // one pixel off is within the tolerance of 1
        {"rrrrrrwwwwww", 4, "pixel 5 of the meter is red, past the bar's end at 4"},
        {"rrwwwwwwwwww", 4, "pixel 2 of the meter is white, before the bar's end at 4"},
        {"rr######wwww", 4, ""},  // a prompt over the bar's end hides it
        {"############", 4, "no red pixel"},
        {"rrrr########", 4, "no white pixel"},
        {"wwwwwwwwwwww", 0, ""},   // 0 %
        {"rrrrrrrrrrrr", 12, ""},  // 100 %
        {"rrrrwwxwwwww", 4, "pixel 6 of the meter is neither red nor white"},
    };
    for (const Case& c : cases) {
        const std::string fault = MeterRowFault(Row(c.row), c.end, 1);
        if (*c.fault == '\0') {
            EXPECT_EQ(fault, "") << c.row;
        } else {
            EXPECT_NE(fault.find(c.fault), std::string::npos) << c.row << ": " << fault;
        }
    }
}

TEST(MeterRow, BarEndRoundsHalfToEven) {
    EXPECT_EQ(MeterBarEnd(286, 0.33), 94);  // 94.38
    EXPECT_EQ(MeterBarEnd(10, 0.25), 2);    // 2.5
    EXPECT_EQ(MeterBarEnd(10, 0.35), 4);    // 3.5
    EXPECT_EQ(MeterBarEnd(286, 1.0), 286);
}

}  // namespace
