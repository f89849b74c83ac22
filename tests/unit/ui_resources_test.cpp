#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace {

const std::filesystem::path ResourceDir =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "ui" / "resources";

std::uint32_t Le16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t Le32(const Bytes& b, std::size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }

std::vector<std::string> SplitAtCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(LicenseText, Has4611PrintableAsciiCharactersIn16CrLfLinesSixOfThemEmpty) {
    const Bytes bytes = ReadWholeFile(ResourceDir / "LicenseText.txt");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.size(), 4611u);

    const std::vector<std::string> lines = SplitAtCrLf(text);
    EXPECT_EQ(lines.size(), 16u);
    int empty = 0;
    for (const std::string& line : lines) {
        if (line.empty()) ++empty;
        for (char c : line) ASSERT_TRUE(c >= 0x20 && c <= 0x7E) << "byte " << int(static_cast<unsigned char>(c));
    }
    EXPECT_EQ(empty, 6);
    // No line end after the last line, and the text starts and ends with words.
    EXPECT_FALSE(lines.front().empty());
    EXPECT_FALSE(lines.back().empty());
}

TEST(LogoBitmap, Is204By66With16ColoursUncompressed) {
    const Bytes bmp = ReadWholeFile(ResourceDir / "Logo.bmp");
    ASSERT_GE(bmp.size(), 118u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Le32(bmp, 2), bmp.size());
    EXPECT_EQ(Le32(bmp, 14), 40u);   // BITMAPINFOHEADER
    EXPECT_EQ(Le32(bmp, 18), 204u);  // width
    EXPECT_EQ(Le32(bmp, 22), 66u);   // height, bottom-up
    EXPECT_EQ(Le16(bmp, 28), 4u);    // bits a pixel
    EXPECT_EQ(Le32(bmp, 30), 0u);    // BI_RGB
    const std::uint32_t colours = Le32(bmp, 46) ? Le32(bmp, 46) : 16;
    EXPECT_EQ(colours, 16u);
    // The pixels follow the palette: rows of 204 nibbles padded to 104 bytes.
    EXPECT_EQ(Le32(bmp, 10), 14u + 40u + colours * 4);
    EXPECT_EQ(bmp.size() - Le32(bmp, 10), 104u * 66u);
}

TEST(MainIcon, HoldsOnlySixteenColourImages) {
    const Bytes ico = ReadWholeFile(ResourceDir / "MainIcon.ico");
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(Le16(ico, 0), 0u);
    EXPECT_EQ(Le16(ico, 2), 1u);  // icon, not cursor
    const std::uint32_t count = Le16(ico, 4);
    ASSERT_GE(count, 1u);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const std::uint32_t size = ico.at(entry);
        const std::uint32_t bytes = Le32(ico, entry + 8), offset = Le32(ico, entry + 12);
        ASSERT_LE(offset + bytes, ico.size());
        EXPECT_EQ(Le16(ico, entry + 6), 4u);
        // Header, palette, 4-bit colour rows and 1-bit mask rows, each row padded to 4 bytes.
        const std::uint32_t colourRow = (size * 4 + 31) / 32 * 4, maskRow = (size + 31) / 32 * 4;
        EXPECT_EQ(bytes, 40 + 64 + size * (colourRow + maskRow)) << "image " << i;
        EXPECT_EQ(Le32(ico, offset + 8), 2 * size) << "image " << i;
    }
}

}  // namespace
