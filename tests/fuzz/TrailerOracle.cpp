#include "tests/fuzz/TrailerOracle.h"

#include <set>
#include <string_view>

#include "setup/ProductConfig.h"

namespace {

constexpr std::size_t RecordSize = 28;
constexpr std::size_t NameField = 19;

std::int32_t Int32At(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return static_cast<std::int32_t>(value);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
    }
    return text;
}

std::string RecordName(const TrailerRecord& record) {
    return std::string(record.NameChars.data(), record.NameLength < NameField ? record.NameLength : NameField);
}

// Windows takes the part before the first dot, without trailing spaces, as the device; COM and
// LPT also with the ANSI superscripts one to three.
bool IsDevice(const std::string& name) {
    std::string base = Upper(name.substr(0, name.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (base == device) return true;
    }
    if (base.size() != 4 || (!base.starts_with("COM") && !base.starts_with("LPT"))) return false;
    const auto digit = static_cast<unsigned char>(base[3]);
    return (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

}  // namespace

std::optional<TrailerContents> ParseTrailerBytes(std::span<const std::uint8_t> file) {
    if (file.size() < 5) return std::nullopt;
    const std::size_t count = file[file.size() - 5];
    if (file.size() < RecordSize * count + 5) return std::nullopt;
    TrailerContents trailer;
    trailer.Total = Int32At(file, file.size() - 4);
    std::size_t at = file.size() - 5 - RecordSize * count;
    for (std::size_t i = 0; i < count; ++i, at += RecordSize) {
        TrailerRecord record;
        record.NameLength = file[at];
        for (std::size_t c = 0; c < NameField; ++c) record.NameChars[c] = static_cast<char>(file[at + 1 + c]);
        record.Offset = Int32At(file, at + 20);
        record.Size = Int32At(file, at + 24);
        trailer.Records.push_back(record);
    }
    return trailer;
}

std::string WindowsNameProblem(const std::string& name) {
    if (name.empty()) return "empty";
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return "a control character";
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return std::string("the character ") + c;
    }
    if (name.back() == '.' || name.back() == ' ') return "a trailing dot or space";
    if (IsDevice(name)) return "a device name";
    return {};
}

std::string TrailerProblem(const TrailerContents& trailer) {
    if (trailer.Total < 0) return "a negative total";
    if (trailer.Records.empty()) return "no entry, so no end of the main program";
    std::set<std::string> seen;
    for (std::size_t i = 0; i < trailer.Records.size(); ++i) {
        const TrailerRecord& record = trailer.Records[i];
        const std::string label = "entry " + std::to_string(i + 1) + ": ";
        if (record.NameLength > NameField) return label + "a name length above 19";
        const std::string name = RecordName(record);
        if (std::string problem = WindowsNameProblem(name); !problem.empty()) return label + "a name with " + problem;
        // The bundle file is open while the files are split out of it; a target of its name
        // would cut it to nothing.
        if (Upper(name) == Upper(ProductConfig.ExeFileName)) return label + "the name of the bundle file";
        if (!seen.insert(Upper(name)).second) return label + "a name listed before, but for case";
        if (record.Offset < 0 || record.Size < 0) return label + "a negative offset or size";
        const std::int64_t end = static_cast<std::int64_t>(record.Offset) + record.Size;
        if (end > trailer.Total) return label + "bytes past the total";
        if (i == 0 && record.Offset == 0) return label + "no main program before the first file";
    }
    // No two files share a byte, and none lies inside the main program (before the first file);
    // empty files take no bytes. Pair by pair, apart from the validation's sorted sweep.
    const std::int64_t mainEnd = trailer.Records.front().Offset;
    for (std::size_t i = 0; i < trailer.Records.size(); ++i) {
        const TrailerRecord& a = trailer.Records[i];
        if (a.Size == 0) continue;
        if (a.Offset < mainEnd) return "entry " + std::to_string(i + 1) + ": bytes of the main program";
        for (std::size_t j = i + 1; j < trailer.Records.size(); ++j) {
            const TrailerRecord& b = trailer.Records[j];
            if (b.Size == 0) continue;
            if (std::int64_t{a.Offset} < std::int64_t{b.Offset} + b.Size &&
                std::int64_t{b.Offset} < std::int64_t{a.Offset} + a.Size) {
                return "entries " + std::to_string(i + 1) + " and " + std::to_string(j + 1) + ": shared bytes";
            }
        }
    }
    return {};
}

std::string ListMismatch(const TrailerContents& trailer, const BundleDirectoryList& list, std::int32_t total) {
    if (total != trailer.Total) return "the total " + std::to_string(total) + " is not the trailer's";
    const BundleEntry* entry = list.First.get();
    const BundleEntry* last = nullptr;
    for (std::size_t i = 0; i < trailer.Records.size(); ++i, last = entry, entry = entry->Next.get()) {
        const std::string label = "entry " + std::to_string(i + 1) + " ";
        if (!entry) return label + "is missing from the list";
        const TrailerRecord& record = trailer.Records[i];
        if (entry->Name != RecordName(record)) return label + "has another name than in the trailer";
        if (entry->Offset != record.Offset || entry->Size != record.Size) return label + "has another offset or size";
    }
    if (entry) return "the list holds more entries than the trailer";
    if (list.Last != last) return "the list's last entry is not its end";
    return {};
}

std::string UpperExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : Upper(name.substr(dot));
}
