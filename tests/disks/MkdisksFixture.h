// A product folder, a stand-in setup program and the disk tool run in-process, for the tests of
// mkdisks.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "setup/ProductConfig.h"
#include "setup/SetupState.h"
#include "tests/support/TempDir.h"
#include "tools/mkdisks/DiskPlan.h"
#include "tools/mkdisks/MkdisksCommand.h"

struct ToolRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

class MkdisksTest : public testing::Test {
public:
    static constexpr std::size_t SetupSize = 30000;
    static constexpr std::size_t UninstallerSize = 5000;

    void SetUp() override {
        ProductConfig = ProductConfigRecord{};
        SetupState.FileOpenMode = 2;
        dir_.Write("SETUP.EXE", SeededRandomBytes(SetupSize, 99));
        dir_.Write("UnInstal.Exe", SeededRandomBytes(UninstallerSize, 98));
        std::filesystem::create_directory(Product());
    }

    std::filesystem::path Product() const { return dir_.Root() / "prod"; }
    std::filesystem::path Disks() const { return dir_.Root() / "disks"; }
    std::filesystem::path Disk(int n) const { return Disks() / ("disk" + std::to_string(n)); }
    std::filesystem::path Volume(int n) const { return Disk(n) / VolumeName(n); }
    std::filesystem::path SetupOnDisk() const { return Disk(1) / "SETUP.EXE"; }

    void AddFile(const std::string& name, const Bytes& content) const { WriteWholeFile(Product() / name, content); }

    static ToolRun Run(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        ToolRun run;
        run.Status = RunMkdisks(args, out, err);
        run.Out = out.str();
        run.Err = err.str();
        return run;
    }

    ToolRun Build(std::vector<std::string> extra = {}) const {
        std::vector<std::string> args = {"build", "--setup", dir_.Path("SETUP.EXE"), "--out", Disks().string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(Product().string());
        return Run(args);
    }

    ToolRun Verify() const {
        return Run({"verify", Disk(1).string(), Disk(2).string(), Disk(3).string(), "--against", Product().string()});
    }

    // No disks, and nothing half-written beside where they would have been.
    void ExpectNothingWritten() const {
        for (const auto& entry : std::filesystem::directory_iterator(dir_.Root())) {
            EXPECT_NE(entry.path().filename().string().rfind("disks", 0), 0u) << entry.path();
        }
    }

protected:
    TempDir dir_;
};
