// Writes the demo product's data files into a folder: seeded pseudo-random bytes, which do not
// compress and are the same on every run. Three large files share the byte count given, so that
// the caller can size the archive to the disks; four small ones have the sizes whose copying the
// extraction treats specially (0, one block of 2048, a block and a byte, two blocks).
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

struct DataFile {
    const char* name;
    std::size_t size;
    std::uint32_t seed;
};

constexpr DataFile SmallFiles[] = {
    {"EMPTY.DAT", 0, 4}, {"BLOCK.DAT", 2048, 5}, {"BLOCKP1.DAT", 2049, 6}, {"BLOCKS.DAT", 4096, 7}};

// The large files' shares of the data, in percent; the last takes what is left.
constexpr struct {
    const char* name;
    int percent;
    std::uint32_t seed;
} LargeFiles[] = {{"QFDATA1.DAT", 40, 1}, {"QFDATA2.DAT", 33, 2}, {"QFMEDIA.DAT", 27, 3}};

bool Write(const std::string& folder, const DataFile& file) {
    std::mt19937 generator(file.seed);
    std::vector<char> bytes(file.size);
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        const std::uint32_t word = generator();
        for (std::size_t k = 0; k < 4 && i + k < bytes.size(); ++k) bytes[i + k] = static_cast<char>(word >> (8 * k));
    }
    const std::string path = folder + "/" + file.name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) return true;
    std::fprintf(stderr, "demo-data: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t total = 0;
    const std::string count = argc == 3 ? argv[2] : "";
    const auto parsed = std::from_chars(count.data(), count.data() + count.size(), total);
    if (argc != 3 || parsed.ec != std::errc() || parsed.ptr != count.data() + count.size()) {
        std::fprintf(stderr, "usage: demo-data FOLDER DATA_BYTES\n");
        return 2;
    }
    std::size_t small = 0;
    for (const DataFile& file : SmallFiles) small += file.size;
    if (total < small) {
        std::fprintf(stderr, "demo-data: %zu bytes are fewer than the small files need (%zu)\n", total, small);
        return 1;
    }

    const std::size_t large = total - small;
    std::size_t given = 0;
    for (const auto& file : LargeFiles) {
        const std::size_t size = &file == &LargeFiles[2] ? large - given : large / 100 * file.percent;
        given += size;
        if (!Write(argv[1], {file.name, size, file.seed})) return 1;
    }
    for (const DataFile& file : SmallFiles) {
        if (!Write(argv[1], file)) return 1;
    }
    return 0;
}
