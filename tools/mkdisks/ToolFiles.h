// The tool's file access: whole files through the checked file layer, with failures turned into
// messages that name the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

// The path as the maker typed it or the folder listing gave it, for messages.
std::string Shown(const std::filesystem::path& path);

// "1 file", "2 files".
std::string FileCount(std::size_t count);

// A file name in quotes, control characters shown as \xNN.
std::string Quoted(const std::string& name);

// The whole file, read-only; progress gets the bytes read so far.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path,
                                        const std::function<void(std::uint64_t)>& progress = {});

// A new file (an existing one is cut to length 0) with exactly bytes in it.
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// The names in folder that equal name without regard to case, as the folder spells them.
std::vector<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder, const std::string& name);
