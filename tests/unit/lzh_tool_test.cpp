// The lzhuf tool, run as a program: its answers to bad arguments and unreadable files, and round
// trips through files. It is built into the same folder as this test.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <sys/wait.h>

#include "lzh/LZHPack.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int Status = -1;
    std::string Output;  // standard output and error together
};

class LzhufTool : public ::testing::Test {
protected:
    void SetUp() override {
        tool_ = fs::read_symlink("/proc/self/exe").parent_path() / "lzhuf";
        ASSERT_TRUE(fs::exists(tool_)) << tool_ << " is missing: build the lzhuf target";
    }

    ToolRun Lzhuf(const std::string& arguments) const {
        const std::string command = "'" + tool_.string() + "' " + arguments + " 2>&1";
        ToolRun run;
        std::FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return run;
        char block[4096];
        std::size_t got;
        while ((got = std::fread(block, 1, sizeof block, pipe)) > 0) run.Output.append(block, got);
        const int status = pclose(pipe);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    std::string Quoted(const std::string& name) const { return "'" + folder_.Path(name) + "'"; }

    fs::path tool_;
    TempDir folder_;
};

TEST_F(LzhufTool, RefusesBadArgumentsWithUsageAndStatus2) {
    const ToolRun help = Lzhuf("--help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Output.find("usage: lzhuf encode IN OUT"), std::string::npos) << help.Output;

    for (const char* arguments : {"", "compress a b", "encode onlyone", "encode a b c", "decode a b"}) {
        const ToolRun run = Lzhuf(arguments);
        EXPECT_EQ(run.Status, 2) << arguments;
        EXPECT_NE(run.Output.find("usage:"), std::string::npos) << arguments << ": " << run.Output;
    }
    for (const char* size : {"abc", "-1", "+5", "''", "12x", "2147483648", "99999999999999999999", "1.5"}) {
        const ToolRun run = Lzhuf("decode in out " + std::string(size));
        EXPECT_EQ(run.Status, 2) << size;
        EXPECT_NE(run.Output.find("bad SIZE"), std::string::npos) << size << ": " << run.Output;
    }
}

TEST_F(LzhufTool, ReportsFilesItCannotUse) {
    folder_.Write("one", Bytes{1});
    const struct {
        std::string arguments;
        std::string message;
    } cases[] = {
        {"encode " + Quoted("missing") + " " + Quoted("out"), "cannot open " + folder_.Path("missing") + " for reading"},
        {"encode " + Quoted("") + " " + Quoted("out"), "cannot read " + folder_.Path("")},
        {"encode " + Quoted("one") + " " + Quoted("no/such/out"), "cannot open " + folder_.Path("no/such/out") + " for writing"},
        {"decode " + Quoted("missing") + " " + Quoted("out") + " 5", "cannot open " + folder_.Path("missing") + " for reading"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Lzhuf(c.arguments);
        EXPECT_EQ(run.Status, 1) << c.arguments;
        EXPECT_NE(run.Output.find(c.message), std::string::npos) << c.arguments << ": " << run.Output;
    }
}

TEST_F(LzhufTool, RoundTripsThroughFiles) {
    std::string text;
    for (int i = 0; text.size() < 50000; ++i) text += "line " + std::to_string(i) + " of the licence\n";
    const struct {
        const char* name;
        Bytes data;
    } cases[] = {{"empty", {}}, {"one", {0x41}}, {"text", Bytes(text.begin(), text.end())}, {"random", SeededRandomBytes(70000, 9)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = c.name;
        folder_.Write(name, c.data);
        const std::string size = std::to_string(c.data.size());
        const ToolRun encode = Lzhuf("encode " + Quoted(name) + " " + Quoted(name + ".lzh"));
        ASSERT_EQ(encode.Status, 0) << encode.Output;
        EXPECT_EQ(folder_.Read(name + ".lzh"), LZHPack(c.data));
        const ToolRun decode = Lzhuf("decode " + Quoted(name + ".lzh") + " " + Quoted(name + ".out") + " " + size);
        ASSERT_EQ(decode.Status, 0) << decode.Output;
        EXPECT_EQ(folder_.Read(name + ".out"), c.data);
    }
    // A smaller size gives the start of the file.
    ASSERT_EQ(Lzhuf("decode " + Quoted("text.lzh") + " " + Quoted("part") + " 1000").Status, 0);
    EXPECT_EQ(folder_.Read("part"), Bytes(text.begin(), text.begin() + 1000));
}

// A stream that runs out before the size is reached decodes to made-up bytes: refused, and
// nothing written.
TEST_F(LzhufTool, RefusesAStreamTooShortForTheSize) {
    std::string text;
    for (int i = 0; text.size() < 50000; ++i) text += "record " + std::to_string(i * 13 % 101) + "\n";
    const Bytes stream = LZHPack(Bytes(text.begin(), text.end()));
    folder_.Write("whole.lzh", stream);
    folder_.Write("cut.lzh", Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2)));
    const struct {
        const char* archive;
        std::size_t size;
    } cases[] = {{"cut.lzh", text.size()}, {"whole.lzh", text.size() + 100000}};
    for (const auto& c : cases) {
        const ToolRun run = Lzhuf("decode " + Quoted(c.archive) + " " + Quoted("out") + " " + std::to_string(c.size));
        EXPECT_EQ(run.Status, 1) << c.archive;
        EXPECT_NE(run.Output.find("ends before " + std::to_string(c.size) + " bytes are decoded"), std::string::npos) << run.Output;
        EXPECT_FALSE(folder_.Exists("out"));
    }
}

}  // namespace
