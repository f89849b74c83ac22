// mkdisks build: the disks of edge-case products, checked with mkdisks verify and decoded the way
// the setup program reads them; products it must refuse, with nothing left behind.
#include <signal.h>
#include <sys/resource.h>

#include <functional>

#include "bundle/BundleDirectoryReader.h"
#include "lzh/MemoryStreams.h"
#include "setup/CheckedFile.h"
#include "tests/disks/MkdisksFixture.h"

namespace fs = std::filesystem;

namespace {

using Product = std::vector<std::pair<std::string, Bytes>>;

// The volumes joined as the setup program joins them: opened through the checked file layer with
// the mode the trailer reader leaves behind, read in blocks of 2048 bytes.
Bytes JoinVolumesAsInstaller(const std::function<fs::path(int)>& volume) {
    Bytes archive;
    for (int v = 1; v <= VolumeCount(); ++v) {
        CheckedFile file;
        file.Open(volume(v).string(), SetupState.FileOpenMode);
        std::uint8_t block[2048];
        while (!file.Eof()) {
            const std::uint32_t got = file.Read(block, sizeof block);
            archive.insert(archive.end(), block, block + got);
        }
        file.Close();
    }
    return archive;
}

struct EdgeProduct {
    const char* what;
    Product files;        // the main program first, then the others in the order they are bundled
    bool fitsOnDisk1;
};

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

const EdgeProduct edgeProducts[] = {
    {"one file", {{"Tavimore.Exe", SeededRandomBytes(5000, 1)}, {"README.TXT", Text("Quenfold\r\n")}}, true},
    {"files of size 0",
     {{"Tavimore.Exe", SeededRandomBytes(3000, 2)}, {"A.DAT", {}}, {"B.DAT", SeededRandomBytes(10, 3)}, {"Z.DAT", {}}},
     true},
    {"block-sized files",
     {{"Tavimore.Exe", SeededRandomBytes(2048, 4)},
      {"B2048.DAT", SeededRandomBytes(2048, 5)},
      {"B2049.DAT", SeededRandomBytes(2049, 6)},
      {"B4096.DAT", SeededRandomBytes(4096, 7)}},
     true},
    // Sorted without regard to case; the main program is matched the same way and keeps its name.
    {"names in mixed case",
     {{"TAVIMORE.EXE", SeededRandomBytes(700, 8)},
      {"a.hlp", Text("help")},
      {"B.LIB", Text("lib")},
      {"c.Dtp", Text("dtp")}},
     true},
    {"compressible data", {{"Tavimore.Exe", Bytes(100000, 'M')}, {"ZEROS.DAT", Bytes(300000, 0)}}, true},
};

TEST_F(MkdisksTest, EdgeProductsBuildVerifyAndDecodeAsTheInstallerReadsThem) {
    for (const EdgeProduct& product : edgeProducts) {
        SCOPED_TRACE(product.what);
        fs::remove_all(Product());
        fs::remove_all(Disks());
        fs::create_directory(Product());
        Bytes bundle;
        for (const auto& [name, content] : product.files) {
            AddFile(name, content);
            bundle.insert(bundle.end(), content.begin(), content.end());
        }

        const ToolRun build = Build();
        ASSERT_EQ(build.Status, 0) << build.Err;
        const ToolRun verify = Verify();
        EXPECT_EQ(verify.Status, 0) << verify.Out << verify.Err;
        EXPECT_NE(verify.Out.find("the disks are sound"), std::string::npos);
        if (product.fitsOnDisk1) {
            EXPECT_EQ(fs::file_size(Volume(2)), 0u);
            EXPECT_EQ(fs::file_size(Volume(3)), 0u);
        }

        // Last in the bundle: the uninstaller, carrying the same file list as the setup program.
        const Bytes setupOnDisk = ReadWholeFile(SetupOnDisk());
        const Bytes uninstaller = dir_.Read("UnInstal.Exe");
        bundle.insert(bundle.end(), uninstaller.begin(), uninstaller.end());
        bundle.insert(bundle.end(), setupOnDisk.begin() + SetupSize, setupOnDisk.end());

        ReadBundleDirectory(SetupOnDisk().string());
        ASSERT_EQ(SetupState.BundleTotal, static_cast<std::int32_t>(bundle.size()));
        std::int32_t expectedOffset = static_cast<std::int32_t>(product.files.front().second.size());
        const BundleEntry* entry = SetupState.BundleDirectory.First.get();
        for (std::size_t i = 1; i < product.files.size(); ++i, entry = entry->Next.get()) {
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->Name, product.files[i].first);
            EXPECT_EQ(entry->Offset, expectedOffset);
            EXPECT_EQ(entry->Size, static_cast<std::int32_t>(product.files[i].second.size()));
            expectedOffset += entry->Size;
        }
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Name, "UnInstal.Exe");
        EXPECT_EQ(entry->Offset, expectedOffset);
        EXPECT_EQ(entry->Size, static_cast<std::int32_t>(UninstallerSize + TrailerSize(product.files.size())));
        EXPECT_EQ(entry->Next, nullptr);

        const Bytes archive = JoinVolumesAsInstaller([&](int v) { return Volume(v); });
        const MemoryDecodeResult decoded = DecodeMemory(archive, SetupState.BundleTotal);
        EXPECT_TRUE(decoded.Output == bundle);
        EXPECT_EQ(decoded.BytesDelivered, archive.size());
        // The setup program itself is unchanged in front of its trailer.
        const Bytes setup = ReadWholeFile(SetupOnDisk());
        EXPECT_TRUE(std::equal(setup.begin(), setup.begin() + SetupSize, dir_.Read("SETUP.EXE").begin()));
    }
}

// Disks are filled to capacity in order; disk 1 gives up the whole 512-byte clusters of the setup
// program with its trailer (30000 + 61 bytes take 30208).
TEST_F(MkdisksTest, FillsEveryDiskToItsCapacity) {
    AddFile("Tavimore.Exe", SeededRandomBytes(20000, 10));
    AddFile("DATA.DAT", SeededRandomBytes(60000, 11));
    ASSERT_EQ(Build({"--disk-size", "40000"}).Status, 0);

    const std::uintmax_t archive = fs::file_size(Volume(1)) + fs::file_size(Volume(2)) + fs::file_size(Volume(3));
    EXPECT_EQ(fs::file_size(SetupOnDisk()), SetupSize + TrailerSize(2));
    EXPECT_EQ(fs::file_size(Volume(1)), 40000u - 30208u);
    EXPECT_EQ(fs::file_size(Volume(2)), 40000u);
    EXPECT_GT(archive, 80000u);
    EXPECT_EQ(Verify().Status, 0);

    // All volumes on one disk are found there, as the setup program takes them without a prompt.
    fs::rename(Volume(2), Disk(1) / VolumeName(2));
    fs::rename(Volume(3), Disk(1) / VolumeName(3));
    EXPECT_EQ(Run({"verify", Disk(1).string(), "--against", Product().string()}).Status, 0);
}

TEST_F(MkdisksTest, ArchiveNeedingMoreDisksIsRefusedWithTheCountItNeeds) {
    AddFile("Tavimore.Exe", SeededRandomBytes(20000, 12));
    AddFile("DATA.DAT", SeededRandomBytes(120000, 13));
    const ToolRun run = Build({"--disk-size", "40000"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("needs 5 disks of 40000 bytes"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("ships on 3 disks"), std::string::npos) << run.Err;
    ExpectNothingWritten();
}

TEST(DiskPlanTest, PlansVolumesDiskByDisk) {
    struct Case {
        std::uint64_t archive, setup;
        std::vector<std::uint64_t> volumes;
    };
    const Case fitting[] = {
        {0, 100, {0, 0, 0}},
        {1536, 512, {1536, 0, 0}},
        {1537, 512, {1536, 1, 0}},
        {4096, 513, {1024, 2048, 1024}},  // the setup program takes two clusters
        {5632, 512, {1536, 2048, 2048}},
        {4096, 2048, {0, 2048, 2048}},
    };
    for (const Case& c : fitting) {
        EXPECT_EQ(PlanVolumes(c.archive, c.setup, 2048), c.volumes) << c.archive << " " << c.setup;
    }
    const Case refused[] = {{5633, 512, {}}, {0, 2049, {}}};
    for (const Case& c : refused) EXPECT_THROW(PlanVolumes(c.archive, c.setup, 2048), std::runtime_error);
    try {
        PlanVolumes(5633, 512, 2048);
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("needs 4 disks"), std::string::npos) << error.what();
    }
}

struct BadProduct {
    const char* what;
    std::function<void(const fs::path& product)> make;
    const char* message;
};

void Put(const fs::path& folder, const std::string& name, std::size_t size = 10) {
    WriteWholeFile(folder / name, SeededRandomBytes(size, static_cast<std::uint32_t>(name.size())));
}

const BadProduct badProducts[] = {
    {"no main program", [](const fs::path& p) { Put(p, "DATA.DAT"); }, "the main program Tavimore.Exe is missing"},
    {"empty main program",
     [](const fs::path& p) {
         Put(p, "Tavimore.Exe", 0);
         Put(p, "DATA.DAT");
     },
     "the main program Tavimore.Exe is empty"},
    {"nothing besides the main program", [](const fs::path& p) { Put(p, "Tavimore.Exe"); },
     "no file besides the main program"},
    {"name of 20 characters", [](const fs::path& p) { Put(p, "ABCDEFGHIJKLMNOP.DAT"); },
     "\"ABCDEFGHIJKLMNOP.DAT\": the name has 20 characters; the file list holds at most 19"},
    {"non-ASCII name", [](const fs::path& p) { Put(p, "caf\xC3\xA9.txt"); }, "the name is not plain ASCII"},
    {"device name", [](const fs::path& p) { Put(p, "con.txt"); }, "\"con.txt\": the name is a device name"},
    {"colon", [](const fs::path& p) { Put(p, "A:B"); }, "\"A:B\": the name holds a drive or stream colon"},
    {"backslash", [](const fs::path& p) { Put(p, "A\\B"); }, "directory separator '\\'"},
    {"trailing dot", [](const fs::path& p) { Put(p, "README."); }, "ends in a dot"},
    {"wildcard", [](const fs::path& p) { Put(p, "A*B"); }, "the character '*'"},
    {"control character", [](const fs::path& p) { Put(p, "A\tB"); }, "\"A\\x09B\": the name holds the control character"},
    {"names equal ignoring case",
     [](const fs::path& p) {
         Put(p, "DATA.DAT");
         Put(p, "data.dat");
     },
     "\"DATA.DAT\" and \"data.dat\" are the same name for Windows"},
    {"main program twice",
     [](const fs::path& p) {
         Put(p, "Tavimore.Exe");
         Put(p, "TAVIMORE.EXE");
         Put(p, "DATA.DAT");
     },
     "are the same name for Windows"},
    {"subfolder", [](const fs::path& p) { fs::create_directories(p / "HELP" / "X"); }, "\"HELP\" is a subfolder"},
    {"256 files besides the main program",
     [](const fs::path& p) {
         for (int i = 0; i < 256; ++i) Put(p, "F" + std::to_string(i), 1);
     },
     "there are 256 files besides the main program; the file list holds at most 255"},
    // Sparse, so the test writes nothing: the size alone is refused before anything is read.
    {"2 GiB bundle",
     [](const fs::path& p) {
         Put(p, "BIG.DAT");
         fs::resize_file(p / "BIG.DAT", (std::uintmax_t{1} << 31) - 100);
     },
     "the bundle must stay below 2 GiB"},
    {"255 other files leave no place for the uninstaller",
     [](const fs::path& p) {
         for (int i = 0; i < 255; ++i) Put(p, "F" + std::to_string(i), 1);
     },
     "with the uninstaller the file list holds at most 254"},
    {"the maker's own uninstaller", [](const fs::path& p) { Put(p, "UNINSTAL.EXE"); },
     "mkdisks adds the uninstaller itself"},
    // Reading the process's own memory at offset 0 fails even for the superuser.
    {"unreadable file", [](const fs::path& p) { fs::create_symlink("/proc/self/mem", p / "MEM.DAT"); },
     "cannot read"},
};

TEST_F(MkdisksTest, RefusesProductsTheSetupProgramCannotInstallAndWritesNothing) {
    for (const BadProduct& bad : badProducts) {
        SCOPED_TRACE(bad.what);
        fs::remove_all(Product());
        fs::create_directory(Product());
        if (std::string(bad.what).find("main program") == std::string::npos) Put(Product(), "Tavimore.Exe", 100);
        bad.make(Product());
        const ToolRun run = Build();
        EXPECT_EQ(run.Status, 1);
        EXPECT_NE(run.Err.find(bad.message), std::string::npos) << run.Err;
        ExpectNothingWritten();
    }
}

TEST_F(MkdisksTest, NeedsTheUninstaller) {
    Put(Product(), "Tavimore.Exe");
    Put(Product(), "A.DAT");
    fs::remove(dir_.Root() / "UnInstal.Exe");
    ToolRun run = Build();
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("does not exist or is not a file; every bundle carries it"), std::string::npos) << run.Err;
    ExpectNothingWritten();
    dir_.Write("other.exe", SeededRandomBytes(100, 5));
    run = Build({"--uninstaller", dir_.Path("other.exe")});
    EXPECT_EQ(run.Status, 0) << run.Err;
}

TEST_F(MkdisksTest, ReportsEveryFaultOfTheFolderAtOnce) {
    Put(Product(), "Tavimore.Exe");
    Put(Product(), "NUL");
    Put(Product(), "ABCDEFGHIJKLMNOPQRSTU");
    fs::create_directory(Product() / "SUB");
    const ToolRun run = Build();
    EXPECT_EQ(run.Status, 1);
    for (const char* fault : {"\"NUL\"", "\"ABCDEFGHIJKLMNOPQRSTU\"", "\"SUB\" is a subfolder"}) {
        EXPECT_NE(run.Err.find(fault), std::string::npos) << run.Err;
    }
}

TEST_F(MkdisksTest, ManifestGivesTheOrder) {
    Put(Product(), "Tavimore.Exe", 50);
    Put(Product(), "A.DAT", 5);
    Put(Product(), "B.DAT", 6);
    Put(Product(), "C.HLP", 7);
    dir_.Write("order.txt", "tavimore.exe\r\nc.hlp\r\n\r\nA.DAT  \nB.DAT");
    ASSERT_EQ(Build({"--manifest", dir_.Path("order.txt")}).Status, 0);

    const ToolRun list = Run({"list", SetupOnDisk().string()});
    EXPECT_EQ(list.Status, 0);
    EXPECT_EQ(list.Out,
              "total 5185 bytes, 4 files\n"
              "  1  \"C.HLP\"               offset          50  size           7\n"
              "  2  \"A.DAT\"               offset          57  size           5\n"
              "  3  \"B.DAT\"               offset          62  size           6\n"
              "  4  \"UnInstal.Exe\"        offset          68  size        5117\n");
}

TEST_F(MkdisksTest, RefusesAManifestThatDoesNotMatchTheFolder) {
    Put(Product(), "Tavimore.Exe", 50);
    Put(Product(), "A.DAT", 5);
    Put(Product(), "B.DAT", 6);
    dir_.Write("order.txt", "A.DAT\nMISSING.DAT\na.dat\nTavimore.Exe\n");
    const ToolRun run = Build({"--manifest", dir_.Path("order.txt")});
    EXPECT_EQ(run.Status, 1);
    for (const char* fault : {"manifest line 2: \"MISSING.DAT\" is not in the product folder",
                              "manifest line 3: \"a.dat\" is listed twice",
                              "manifest line 4: the main program Tavimore.Exe always comes first",
                              "\"B.DAT\" is in the product folder but not in the manifest"}) {
        EXPECT_NE(run.Err.find(fault), std::string::npos) << run.Err;
    }
    ExpectNothingWritten();
}

TEST_F(MkdisksTest, RefusesToOverwriteAnExistingOutput) {
    Put(Product(), "Tavimore.Exe");
    Put(Product(), "A.DAT");
    fs::create_directory(Disks());
    WriteWholeFile(Disks() / "keep.txt", Text("mine"));
    const ToolRun run = Build();
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("already exists"), std::string::npos) << run.Err;
    EXPECT_EQ(ReadWholeFile(Disks() / "keep.txt"), Text("mine"));

    fs::remove(Disks() / "keep.txt");
    EXPECT_EQ(Build().Status, 0) << "an empty output folder gives way";
}

// A write that fails once the disks are being written (here: a file size limit) leaves no
// half-made disks behind.
TEST_F(MkdisksTest, FailureWhileWritingLeavesNothingBehind) {
    Put(Product(), "Tavimore.Exe", 20000);
    Put(Product(), "DATA.DAT", 100000);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 50000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const ToolRun run = Build();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("cannot write"), std::string::npos) << run.Err;
    ExpectNothingWritten();
}

}  // namespace
