#include "tests/fuzz/ScratchFolder.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ScratchRoot {
public:
    ScratchRoot() {
        std::string pattern = (fs::temp_directory_path() / "quenfold-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder in " + pattern);
        path_ = pattern;
    }
    ~ScratchRoot() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchRoot(const ScratchRoot&) = delete;
    ScratchRoot& operator=(const ScratchRoot&) = delete;

    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

std::string Shown(const fs::path& path) { return "\"" + path.string() + "\""; }

}  // namespace

const fs::path& FuzzScratchRoot() {
    static const ScratchRoot root;
    return root.Path();
}

fs::path FreshScratchFolder(const std::string& name) {
    const fs::path folder = FuzzScratchRoot() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

FolderTree ReadFolderTree(const fs::path& folder) {
    FolderTree tree;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        const fs::path relative = entry.path().lexically_relative(folder);
        if (entry.is_symlink()) throw FuzzFinding("a link appeared at " + Shown(relative));
        if (entry.is_directory()) {
            tree[relative] = TreeEntry{true, {}};
        } else {
            tree[relative] = TreeEntry{false, ReadBytes(entry.path())};
        }
    }
    return tree;
}

std::string TreeDifference(const FolderTree& expected, const FolderTree& actual) {
    for (const auto& [path, entry] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) return Shown(path) + " is missing";
        if (found->second.IsFolder != entry.IsFolder) {
            return Shown(path) + (entry.IsFolder ? " should be a folder" : " should be a file");
        }
        if (found->second.Content != entry.Content) {
            return Shown(path) + " holds " + std::to_string(found->second.Content.size()) +
                   " bytes that differ from the " + std::to_string(entry.Content.size()) + " expected";
        }
    }
    for (const auto& [path, entry] : actual) {
        if (!expected.contains(path)) return Shown(path) + " appeared";
    }
    return {};
}

int OpenDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

FuzzBytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return FuzzBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}
