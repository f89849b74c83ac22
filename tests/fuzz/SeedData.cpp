#include "tests/fuzz/SeedData.h"

#include <iterator>
#include <string_view>

FuzzBytes SeedText(std::size_t size) {
    static constexpr std::string_view words[] = {"setup ", "bundle ", "Quenfold ", "archive ", "the ",
                                                 "volume ", "\r\n", "help ", "0123 ", "disk "};
    FuzzBytes text;
    for (std::size_t i = 0; text.size() < size; i = (i * 7 + 3) % 97) {
        const std::string_view word = words[i % std::size(words)];
        text.insert(text.end(), word.begin(), word.end());
    }
    text.resize(size);
    return text;
}

FuzzBytes SeedNoise(std::size_t size, std::uint32_t seed) {
    FuzzBytes bytes(size);
    for (auto& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
    }
    return bytes;
}

const std::vector<std::string> HostileNames = {
    "..\\..\\x", "..",           ".",           "C:x",         "C:\\WIN.INI", "\\\\srv\\s",   "a/b",
    "x.HLP:s",     "CON",          "nul.txt",     "Aux.tar.gz",  "PRN .DAT",    "COM1",        "lpt9.log",
    "COM\xB9",     "CONIN$",       "conout$.log", "a.",          "a ",          "*.*",         "a\x01",
    "Tavimore.Exe", "TAVIMORE.EXE", "Tavimore._MV"};
