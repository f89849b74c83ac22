// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    // The folder as the portable code sees it (a directory string that JoinPath extends).
    std::string Dir() const { return root_.string(); }
    std::string Path(const std::string& name) const { return (root_ / name).string(); }

    void Write(const std::string& name, const Bytes& content) const;
    void Write(const std::string& name, const std::string& content) const;
    Bytes Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::filesystem::path root_;
};

Bytes ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const Bytes& content);
Bytes Concat(std::initializer_list<Bytes> parts);
// Seeded pseudo-random bytes, the same on every run.
Bytes SeededRandomBytes(std::size_t size, std::uint32_t seed);
