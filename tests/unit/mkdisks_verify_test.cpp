// mkdisks verify and list: disks that are cut short, damaged, mixed from two sets or carry a
// damaged file list are found out and named; the command line; robustness against any input.
#include <random>

#include "bundle/TrailerWriter.h"
#include "tests/disks/MkdisksFixture.h"

namespace fs = std::filesystem;

namespace {

class MkdisksVerifyTest : public MkdisksTest {
protected:
    void SetUp() override {
        MkdisksTest::SetUp();
        AddFile("Tavimore.Exe", SeededRandomBytes(20000, 20));
        AddFile("QUENFOLD.HLP", SeededRandomBytes(3000, 21));
        AddFile("DATA.DAT", SeededRandomBytes(55000, 22));
        const ToolRun build = Build({"--disk-size", "40000"});
        ASSERT_EQ(build.Status, 0) << build.Err;
        ASSERT_GT(fs::file_size(Volume(3)), 0u);
    }

public:
    static void Change(const fs::path& file, const std::function<void(Bytes&)>& change) {
        Bytes bytes = ReadWholeFile(file);
        change(bytes);
        WriteWholeFile(file, bytes);
    }
};

struct DamagedDisks {
    const char* what;
    std::function<void(MkdisksVerifyTest&)> damage;
    const char* fault;
};

TEST_F(MkdisksVerifyTest, FindsAndNamesWhatIsWrong) {
    const DamagedDisks cases[] = {
        {"last volume cut short", [](MkdisksVerifyTest& t) { Change(t.Volume(3), [](Bytes& b) { b.pop_back(); }); },
         "the archive ran out before the bundle was complete"},
        {"middle volume cut in half",
         [](MkdisksVerifyTest& t) { Change(t.Volume(2), [](Bytes& b) { b.resize(b.size() / 2); }); },
         "the archive ran out before the bundle was complete"},
        {"a volume with bytes after it",
         [](MkdisksVerifyTest& t) { Change(t.Volume(3), [](Bytes& b) { b.insert(b.end(), 40, 0); }); },
         "archive bytes left over"},
        {"a missing volume", [](MkdisksVerifyTest& t) { fs::remove(t.Volume(2)); },
         "disk 2: Tavimore.002 is missing from"},
        {"a product file changed after the build",
         [](MkdisksVerifyTest& t) { Change(t.Product() / "DATA.DAT", [](Bytes& b) { b[1234] ^= 0xFF; }); },
         "\"DATA.DAT\" differs: the bytes differ from offset 1234"},
        {"a product file grown after the build",
         [](MkdisksVerifyTest& t) { Change(t.Product() / "QUENFOLD.HLP", [](Bytes& b) { b.push_back(0); }); },
         "\"QUENFOLD.HLP\" differs: 3000 bytes on the disks, 3001 in the product folder"},
        {"a main program changed after the build",
         [](MkdisksVerifyTest& t) { Change(t.Product() / "Tavimore.Exe", [](Bytes& b) { b[0] ^= 1; }); },
         "\"Tavimore.Exe\" differs: the bytes differ from offset 0"},
        {"a file missing from the product folder", [](MkdisksVerifyTest& t) { fs::remove(t.Product() / "QUENFOLD.HLP"); },
         "\"QUENFOLD.HLP\" is on the disks but not in the product folder"},
        {"a file added to the product folder",
         [](MkdisksVerifyTest& t) { WriteWholeFile(t.Product() / "NEW.DAT", Bytes{1}); },
         "\"NEW.DAT\" is in the product folder but not on the disks"},
        {"a damaged file list",
         [](MkdisksVerifyTest& t) { Change(t.SetupOnDisk(), [](Bytes& b) { b[b.size() - 5] = 0; }); },
         "the file list is damaged: it lists no file"},
    };
    const fs::path good = dir_.Root() / "good";
    fs::copy(Disks(), good, fs::copy_options::recursive);
    const fs::path product = dir_.Root() / "product-copy";
    fs::copy(Product(), product, fs::copy_options::recursive);

    for (const DamagedDisks& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Disks());
        fs::copy(good, Disks(), fs::copy_options::recursive);
        fs::remove_all(Product());
        fs::copy(product, Product(), fs::copy_options::recursive);
        c.damage(*this);
        const ToolRun run = Verify();
        EXPECT_EQ(run.Status, 1);
        EXPECT_NE(run.Out.find(c.fault), std::string::npos) << run.Out << run.Err;
        EXPECT_NE(run.Out.find("the disks are NOT sound"), std::string::npos);
    }
}

// Disk 2 of another product's set decodes to a different bundle; one bit changed in a volume
// changes the decoded bytes from there on. Neither may pass as sound.
TEST_F(MkdisksVerifyTest, VolumesFromAnotherSetOrWithOneBitChangedAreNotSound) {
    const fs::path other = dir_.Root() / "other";
    fs::create_directory(other);
    WriteWholeFile(other / "Tavimore.Exe", SeededRandomBytes(20000, 30));
    WriteWholeFile(other / "QUENFOLD.HLP", SeededRandomBytes(3000, 31));
    WriteWholeFile(other / "DATA.DAT", SeededRandomBytes(55000, 32));
    ASSERT_EQ(Run({"build", "--setup", dir_.Path("SETUP.EXE"), "--out", (dir_.Root() / "otherdisks").string(),
                   "--disk-size", "40000", other.string()})
                  .Status,
              0);
    fs::copy_file(dir_.Root() / "otherdisks" / "disk2" / VolumeName(2), Volume(2),
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(Verify().Status, 1);

    fs::remove_all(Disks());
    ASSERT_EQ(Build({"--disk-size", "40000"}).Status, 0);
    Change(Volume(1), [](Bytes& b) { b[b.size() / 2] ^= 0x10; });
    const ToolRun run = Verify();
    EXPECT_EQ(run.Status, 1) << run.Out;
}

TEST_F(MkdisksVerifyTest, TotalFarBeyondTheArchiveIsJudgedWithoutDecoding) {
    Change(SetupOnDisk(), [](Bytes& b) { StoreLE32(b.data() + b.size() - 4, 0x7FFFFFFF); });
    const ToolRun run = Verify();
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Out.find("too few for a bundle of 2147483647 bytes"), std::string::npos) << run.Out;
}

TEST_F(MkdisksVerifyTest, FindsTheSetupProgramOrAsksForIt) {
    EXPECT_EQ(Run({"verify", Disk(1).string(), Disk(2).string(), Disk(3).string()}).Status, 0);

    fs::copy_file(SetupOnDisk(), Disk(1) / "OTHER.exe");
    const ToolRun ambiguous = Run({"verify", Disk(1).string(), Disk(2).string(), Disk(3).string()});
    EXPECT_EQ(ambiguous.Status, 1);
    EXPECT_NE(ambiguous.Err.find("more than one \".EXE\" file"), std::string::npos) << ambiguous.Err;
    EXPECT_EQ(Run({"verify", Disk(1).string(), Disk(2).string(), Disk(3).string(), "--setup",
                   (Disk(1) / "OTHER.exe").string()})
                  .Status,
              0);
}

TEST_F(MkdisksVerifyTest, ListShowsADamagedTrailerAndItsFault) {
    TrailerContents trailer;
    trailer.Records = {MakeTrailerRecord("OK.DAT", 10, 5), MakeTrailerRecord("..\\EVIL\x01", 15, 100)};
    trailer.Total = 20;
    dir_.Write("BAD.EXE", TrailerBytes(trailer));
    const ToolRun run = Run({"list", dir_.Path("BAD.EXE")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out,
              "total 20 bytes, 2 files\n"
              "  1  \"OK.DAT\"              offset          10  size           5\n"
              "  2  \"..\\EVIL\\x01\"         offset          15  size         100\n"
              "damaged: entry 2 \"..\\EVIL\\x01\": the name holds a directory separator '\\'\n");

    dir_.Write("TINY.EXE", "MZ");
    const ToolRun tiny = Run({"list", dir_.Path("TINY.EXE")});
    EXPECT_EQ(tiny.Status, 1);
    EXPECT_NE(tiny.Err.find("cannot read the file list of"), std::string::npos) << tiny.Err;
}

TEST(MkdisksCommandLineTest, AnswersHelpAndRefusesWhatItCannotUnderstand) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* text;
    };
    const Case cases[] = {
        {{"--help"}, ExitSuccess, "usage:"},
        {{"build", "--help"}, ExitSuccess, "mkdisks build --setup SETUP.EXE"},
        {{}, ExitUsage, "usage:"},
        {{"format", "A:"}, ExitUsage, "unknown command \"format\""},
        {{"build", "--out", "x", "prod"}, ExitUsage, "--setup is required"},
        {{"build", "--setup", "s", "--out", "x"}, ExitUsage, "build takes one product folder"},
        {{"build", "--setup", "s", "--out", "x", "--disk-size", "1.44M", "p"}, ExitUsage, "--disk-size takes"},
        {{"build", "--setup", "s", "--out", "x", "--disk-size", "0", "p"}, ExitUsage, "--disk-size takes"},
        {{"build", "--setup", "s", "--out", "x", "--disk-size=99999999999", "p"}, ExitUsage, "--disk-size takes"},
        {{"build", "--setup", "s", "--setup", "t", "--out", "x", "p"}, ExitUsage, "--setup is given twice"},
        {{"build", "--setup"}, ExitUsage, "--setup needs a value"},
        {{"build", "--colour", "red"}, ExitUsage, "unknown option --colour"},
        {{"list"}, ExitUsage, "list takes one setup program"},
        {{"verify"}, ExitUsage, "verify takes at least the folder of disk 1"},
        {{"verify", "a", "b", "c", "d"}, ExitFailure, "4 disk folders given, but the product ships on 3 disks"},
        {{"list", "/nonexistent/SETUP.EXE"}, ExitFailure, "cannot read the file list of /nonexistent/SETUP.EXE"},
        {{"build", "--setup", "/nonexistent/SETUP.EXE", "--out", "/nonexistent/x", "p"}, ExitFailure,
         "for --out does not exist"},
    };
    for (const Case& c : cases) {
        std::ostringstream out, err;
        const int status = RunMkdisks(c.args, out, err);
        std::string args;
        for (const std::string& a : c.args) args += a + " ";
        EXPECT_EQ(status, c.status) << args;
        EXPECT_NE((out.str() + err.str()).find(c.text), std::string::npos) << args << "\n" << out.str() << err.str();
    }
}

// Seeded damage to the setup program's tail and the volumes, in many shapes: verify always comes
// to an answer, and never calls damaged disks sound unless the bytes it decodes are the product's.
TEST_F(MkdisksVerifyTest, AnyDamageEndsInAnAnswer) {
    const fs::path good = dir_.Root() / "good";
    fs::copy(Disks(), good, fs::copy_options::recursive);
    std::mt19937 random(1234);
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 150; ++round) {
        fs::remove_all(Disks());
        fs::copy(good, Disks(), fs::copy_options::recursive);
        const fs::path target = pick(3) == 0 ? SetupOnDisk() : Volume(1 + static_cast<int>(pick(3)));
        Bytes bytes = ReadWholeFile(target);
        switch (pick(4)) {
            case 0:  // flip bytes, near the end for the setup program so the trailer is hit
                for (std::size_t n = 1 + pick(4); n > 0 && !bytes.empty(); --n) {
                    const std::size_t span = target == SetupOnDisk() ? std::min<std::size_t>(bytes.size(), 120) : bytes.size();
                    bytes[bytes.size() - 1 - pick(span)] ^= static_cast<std::uint8_t>(1 + pick(255));
                }
                break;
            case 1: bytes.resize(pick(bytes.size() + 1)); break;
            case 2: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size() + 1)), 1 + pick(64), static_cast<std::uint8_t>(pick(256))); break;
            default: bytes = SeededRandomBytes(pick(200), static_cast<std::uint32_t>(round)); break;
        }
        WriteWholeFile(target, bytes);
        const ToolRun run = Verify();
        ASSERT_TRUE(run.Status == 0 || run.Status == 1) << run.Err;
        if (run.Status == 0) {
            EXPECT_NE(run.Out.find("4 of 4 files match"), std::string::npos) << run.Out;
        }
    }
}

}  // namespace
