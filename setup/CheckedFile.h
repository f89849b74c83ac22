// The checked file layer: byte-granular files whose failures raise EInOutError at once while
// automatic checking is on. With checking off a failure raises nothing; its code stays pending
// until TakeError() returns and clears it.
#pragma once

#include <cstdint>
#include <string>

#include "setup/OsFile.h"

class CheckedFile {
public:
    CheckedFile() = default;
    ~CheckedFile();
    CheckedFile(CheckedFile&& other) noexcept;
    CheckedFile& operator=(CheckedFile&& other) noexcept;
    CheckedFile(const CheckedFile&) = delete;
    CheckedFile& operator=(const CheckedFile&) = delete;

    void SetChecking(bool on) { checking_ = on; }
    // The pending error code (0 when none), cleared by the call.
    int TakeError();

    // An existing file with the access that fileOpenMode gives (0 read-only, 1 write-only, 2 and
    // above read-write); other processes may read it meanwhile.
    void Open(const std::string& path, std::uint8_t fileOpenMode);
    // A new file, or an existing one cut to length 0, for reading and writing; others may read it.
    void Create(const std::string& path);
    // Any other combination, for callers that test the result themselves: raises nothing,
    // returns 0 or the error code.
    int TryOpen(const std::string& path, FileAccess access, FileSharing sharing, FileDisposition disposition);

    // Reads up to count bytes; fewer only at the end of the file.
    std::uint32_t Read(void* buffer, std::uint32_t count);
    // Reads exactly count bytes; fewer is code 100.
    void ReadExact(void* buffer, std::uint32_t count);
    // Writes exactly count bytes; fewer, or a full disk, is code 101.
    void Write(const void* buffer, std::uint32_t count);
    void Seek(std::int64_t position);
    std::int64_t Position();
    std::int64_t Size();
    bool Eof();
    // Cuts the file at the current position.
    void Truncate();
    void Close();

    bool IsOpen() const { return handle_ != InvalidOsHandle; }

private:
    // Raises when checking is on; otherwise keeps the first pending code.
    void Fail(int code);

    OsHandle handle_ = InvalidOsHandle;
    bool checking_ = true;
    int pending_ = 0;
};
