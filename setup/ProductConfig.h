// Everything about the product that the setup program needs, compiled in. One mutable instance per
// process: GroupName, VolumeFileName and ExeFileName change in place during a run.
#pragma once

#include <cstdint>
#include <string>

// Colours are COLORREF values: red in bits 0-7, green in 8-15, blue in 16-23.
using ColorRef = std::uint32_t;

struct ProductConfigRecord {
    ColorRef GradientTopColor = 0x00FF0000;     // blue 255
    ColorRef GradientBottomColor = 0x00000000;  // black
    ColorRef TitleColor = 0x0000FFFF;           // yellow
    std::int32_t DiskCount = 3;
    std::string GroupName = "Quenfold";
    std::string ProductTitle = "Quenfold";
    std::string ExeFileName = "Tavimore.Exe";
    std::string VolumeFileName = "Tavimore.001";
    std::string ArchiveFileName = "Tavimore._MV";
    std::string DefaultDestDir = "C:\\Program Files\\Quenfold";
    std::string CopyrightLine = "Copyright (c) 2026 Quenfold Software";
    std::string BannerTitle = "Quenfold Installation";
    std::string CancelQuestion = "Do you really want to terminate the Setup program?";
    std::string TerminatedMessage = "The Installation process has been terminated.";
    std::string WrongDiskMessage =
        "This is not the appropriate disk.\r\nPlease insert the correct disk and Press Enter";
    std::string SuccessMessage = "Quenfold has been successfully installed.\r\n\r\nDo you wish to run ";
};

extern ProductConfigRecord ProductConfig;

inline std::uint8_t RedOf(ColorRef c) { return static_cast<std::uint8_t>(c & 0xFF); }
inline std::uint8_t GreenOf(ColorRef c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
inline std::uint8_t BlueOf(ColorRef c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
inline ColorRef MakeColorRef(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<ColorRef>(r) | (static_cast<ColorRef>(g) << 8) | (static_cast<ColorRef>(b) << 16);
}
