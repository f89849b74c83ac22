#include "tools/mkdisks/ToolFiles.h"

#include <algorithm>

#include "bundle/BundleDirectoryValidation.h"
#include "setup/CheckedFile.h"
#include "setup/Failures.h"
#include "tools/mkdisks/MkdisksError.h"

namespace {

// Large reads and writes, but within the 32-bit counts of the file layer.
constexpr std::uint32_t Chunk = 1 << 20;

}  // namespace

std::string Shown(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string FileCount(std::size_t count) { return std::to_string(count) + (count == 1 ? " file" : " files"); }

std::string Quoted(const std::string& name) {
    std::string quoted = "\"";
    quoted += PrintableName(name);
    quoted += '"';
    return quoted;
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path,
                                        const std::function<void(std::uint64_t)>& progress) {
    try {
        CheckedFile file;
        file.Open(path.string(), 0);
        const std::int64_t size = file.Size();
        if (size >= std::int64_t{1} << 31) throw MkdisksError(Shown(path) + " is 2 GiB or larger");
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(Chunk, bytes.size() - done));
            file.ReadExact(bytes.data() + done, count);
            done += count;
            if (progress) progress(done);
        }
        // A file that grew while it was read would be cut short without a word.
        std::uint8_t extra = 0;
        if (file.Read(&extra, 1) != 0) throw MkdisksError(Shown(path) + " changed while it was read");
        file.Close();
        return bytes;
    } catch (const SetupFailure& failure) {
        throw MkdisksError("cannot read " + Shown(path) + ": " + failure.Message());
    }
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    try {
        CheckedFile file;
        file.Create(path.string());
        for (std::size_t done = 0; done < bytes.size();) {
            const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(Chunk, bytes.size() - done));
            file.Write(bytes.data() + done, count);
            done += count;
        }
        file.Close();
    } catch (const SetupFailure& failure) {
        throw MkdisksError("cannot write " + Shown(path) + ": " + failure.Message());
    }
}

std::vector<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder, const std::string& name) {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (SameFileName(Shown(it->path().filename()), name)) found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}
