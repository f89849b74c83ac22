// The driver's file handles: a handle that closes itself, and the text of a failed call.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// "WHAT: error N" with the calling thread's last error code.
std::string ErrorText(const std::string& what);

// An open file; opening it fails the step. Others may read and write it meanwhile.
class FileHandle {
public:
    FileHandle(const std::string& path, DWORD access, DWORD disposition);
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return handle_; }

    long long Size() const;
    // Up to MOST bytes from the current position.
    std::vector<char> Read(std::size_t most) const;

private:
    HANDLE handle_;
};
