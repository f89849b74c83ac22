// lzhuf: makes and reads the archive stream of the setup program, for building disks by hand and
// checking what the installer will decode.
//   lzhuf encode IN OUT        writes the stream of IN to OUT
//   lzhuf decode IN OUT SIZE   decodes SIZE bytes of the stream IN to OUT
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "lzh/LZHPack.h"
#include "lzh/MemoryStreams.h"
#include "setup/Failures.h"

namespace {

constexpr const char* Usage =
    "usage: lzhuf encode IN OUT\n"
    "       lzhuf decode IN OUT SIZE\n"
    "\n"
    "encode  compresses the file IN into the archive stream OUT.\n"
    "decode  decompresses SIZE bytes (0 to 2147483647) of the archive stream IN into OUT.\n"
    "        The stream holds no size of its own: SIZE is the size of the original file.\n";

// A fault that ends the program with a message and exit status 1.
struct ToolFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Closes the file on every way out.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) throw ToolFailure("cannot open " + path + " for reading: " + std::strerror(errno));
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[1 << 16];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) bytes.insert(bytes.end(), block, block + got);
    if (std::ferror(file.get())) throw ToolFailure("cannot read " + path + ": " + std::strerror(errno));
    return bytes;
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw ToolFailure("cannot open " + path + " for writing: " + std::strerror(errno));
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) throw ToolFailure("cannot write " + path + ": " + std::strerror(errno));
}

// SIZE is a plain decimal count that fits the decoder's signed 32-bit size.
bool ParseSize(std::string_view text, std::int32_t& size) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    return error == std::errc() && end == text.data() + text.size();
}

void Encode(const std::string& in, const std::string& out) {
    const std::vector<std::uint8_t> data = ReadFile(in);
    if (data.size() > static_cast<std::size_t>(INT32_MAX))
        throw ToolFailure(in + " is larger than a stream can hold (2147483647 bytes)");
    const std::vector<std::uint8_t> stream = LZHPack(data);
    WriteFile(out, stream.data(), stream.size());
    std::printf("%s: %zu bytes -> %zu bytes\n", in.c_str(), data.size(), stream.size());
}

void Decode(const std::string& in, const std::string& out, std::int32_t size) {
    const std::vector<std::uint8_t> archive = ReadFile(in);
    const MemoryDecodeResult result = DecodeMemory(archive, size);
    // The decoder reads one byte past the last one it needs; more reads past the end mean that it
    // made up zero bits for a stream that is cut short or too short for SIZE.
    if (result.DryReads > 1)
        throw ToolFailure(in + " ends before " + std::to_string(size) +
                          " bytes are decoded: the stream is cut short or SIZE is too large");
    WriteFile(out, result.Output.data(), static_cast<std::size_t>(size));
    std::printf("%s: %zu bytes -> %d bytes\n", in.c_str(), archive.size(), size);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argc > 0 ? argv + 1 : argv, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    try {
        if (args.size() == 3 && args[0] == "encode") {
            Encode(args[1], args[2]);
            return 0;
        }
        if (args.size() == 4 && args[0] == "decode") {
            std::int32_t size = 0;
            if (!ParseSize(args[3], size)) {
                std::fprintf(stderr, "lzhuf: bad SIZE '%s': give a byte count from 0 to 2147483647\n",
                             args[3].c_str());
                return 2;
            }
            Decode(args[1], args[2], size);
            return 0;
        }
    } catch (const ToolFailure& failure) {
        std::fprintf(stderr, "lzhuf: %s\n", failure.what());
        return 1;
    } catch (const SetupFailure& failure) {
        std::fprintf(stderr, "lzhuf: %s: %s\n", failure.ClassName().c_str(), failure.Message().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fputs("lzhuf: out of memory\n", stderr);
        return 1;
    }
    std::fputs(Usage, stderr);
    return 2;
}
