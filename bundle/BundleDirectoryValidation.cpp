#include "bundle/BundleDirectoryValidation.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "setup/Failures.h"
#include "setup/ProductConfig.h"

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperAscii(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) c = UpperAscii(c);
    return upper;
}

std::string HexByte(unsigned char c) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", c);
    return text;
}

// Windows opens these as devices in any folder and with any extension. The superscript digits
// are the ANSI bytes of ¹, ² and ³, which Windows also counts as port numbers.
bool IsDeviceName(const std::string& name) {
    std::string base = UpperAscii(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static constexpr std::array<std::string_view, 6> plain = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view device : plain) {
        if (base == device) return true;
    }
    if (base.size() != 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0)) return false;
    const auto digit = static_cast<unsigned char>(base[3]);
    return (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

std::string EntryLabel(std::size_t index, const std::string& name) {
    return "entry " + std::to_string(index + 1) + " \"" + PrintableName(name) + "\": ";
}

// Files listed back to back never share a byte, nor with the main program before the first file.
// The order of the list is free; empty files take no bytes and may lie anywhere.
std::string OverlapFault(const TrailerContents& trailer) {
    constexpr long MainProgram = -1;
    struct Span {
        std::int64_t begin, end;
        long index;
    };
    std::vector<Span> spans = {{0, trailer.Records.front().Offset, MainProgram}};
    for (std::size_t i = 0; i < trailer.Records.size(); ++i) {
        const TrailerRecord& record = trailer.Records[i];
        if (record.Size > 0) {
            spans.push_back({record.Offset, std::int64_t{record.Offset} + record.Size, static_cast<long>(i)});
        }
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    for (std::size_t k = 1; k < spans.size(); ++k) {
        if (spans[k].begin >= spans[k - 1].end) continue;
        const long later = std::max(spans[k].index, spans[k - 1].index);
        const long earlier = std::min(spans[k].index, spans[k - 1].index);
        const std::string other = earlier == MainProgram
                                      ? std::string("the main program")
                                      : "entry " + std::to_string(earlier + 1) + " \"" +
                                            PrintableName(trailer.Records[earlier].Name()) + "\"";
        return EntryLabel(static_cast<std::size_t>(later), trailer.Records[later].Name()) + "the file overlaps " +
               other;
    }
    return {};
}

}  // namespace

std::string PrintableName(const std::string& name) {
    std::string shown;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) {
            char text[8];
            std::snprintf(text, sizeof text, "\\x%02X", byte);
            shown += text;
        } else {
            shown += c;
        }
    }
    return shown;
}

bool SameFileName(const std::string& a, const std::string& b) { return UpperAscii(a) == UpperAscii(b); }

std::string FileNameFault(const std::string& name) {
    if (name.empty()) return "the name is empty";
    if (name == "." || name == "..") return "the name is not a file name";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32) return "the name holds the control character " + HexByte(byte);
        if (c == '\\' || c == '/') return std::string("the name holds a directory separator '") + c + "'";
        if (c == ':') return "the name holds a drive or stream colon ':'";
        if (std::string_view("*?\"<>|").find(c) != std::string_view::npos) {
            return std::string("the name holds the character '") + c + "', which Windows refuses";
        }
    }
    if (name.back() == '.') return "the name ends in a dot, which Windows drops";
    if (name.back() == ' ') return "the name ends in a space, which Windows drops";
    if (IsDeviceName(name)) return "the name is a device name of Windows";
    return {};
}

std::string TrailerFault(const TrailerContents& trailer) {
    if (trailer.Total < 0) return "the bundle's size " + std::to_string(trailer.Total) + " is negative";
    if (trailer.Records.empty()) return "it lists no file";

    std::unordered_map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < trailer.Records.size(); ++i) {
        const TrailerRecord& record = trailer.Records[i];
        const std::string name = record.Name();
        const std::string label = EntryLabel(i, name);
        if (record.NameLength > TrailerNameField) {
            return label + "the name length " + std::to_string(record.NameLength) + " is above 19";
        }
        if (std::string fault = FileNameFault(name); !fault.empty()) return label + fault;
        // The bundle file is open while the files are split out of it: a target of the same name
        // would cut the main program to nothing.
        if (SameFileName(name, ProductConfig.ExeFileName)) return label + "the name is that of the bundle file";
        const auto [earlier, added] = seen.emplace(UpperAscii(name), i);
        if (!added) {
            return label + "the name is the same as that of entry " + std::to_string(earlier->second + 1) + " \"" +
                   PrintableName(trailer.Records[earlier->second].Name()) + "\", ignoring case";
        }
        if (record.Offset < 0) return label + "the offset " + std::to_string(record.Offset) + " is negative";
        if (record.Size < 0) return label + "the size " + std::to_string(record.Size) + " is negative";
        const std::int64_t end = static_cast<std::int64_t>(record.Offset) + record.Size;
        if (end > trailer.Total) {
            return label + "the file runs to byte " + std::to_string(end) + ", past the bundle's end at " +
                   std::to_string(trailer.Total);
        }
        if (i == 0 && record.Offset == 0) return label + "the first file starts at 0, which leaves no main program";
    }
    return OverlapFault(trailer);
}

void ValidateTrailer(const TrailerContents& trailer) {
    if (std::string fault = TrailerFault(trailer); !fault.empty()) throw EDamagedFileList(fault);
}
