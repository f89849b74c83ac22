// The operating system's file calls, as the file layer needs them. Two implementations: Win32
// handles in the Windows build, POSIX descriptors in the native build. Every call returns 0 or a
// Windows error code (the POSIX build maps errno onto those codes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class OsEntryKind { None, File, Directory };

enum class FileAccess : std::uint8_t { ReadOnly = 0, WriteOnly = 1, ReadWrite = 2 };
enum class FileSharing { None, Read, ReadWrite };
enum class FileDisposition { OpenExisting, CreateAlways };

using OsHandle = std::intptr_t;
constexpr OsHandle InvalidOsHandle = -1;

// Windows codes the platform gives for a full disk; the file layer reports them as a short write.
constexpr int OsErrorDiskFull = 112;
constexpr int OsErrorHandleDiskFull = 39;

OsEntryKind OsPathKind(const std::string& path);

int OsOpenFile(const std::string& path, FileAccess access, FileSharing sharing, FileDisposition disposition,
               OsHandle& handle);
int OsReadFile(OsHandle handle, void* buffer, std::uint32_t count, std::uint32_t& done);
int OsWriteFile(OsHandle handle, const void* buffer, std::uint32_t count, std::uint32_t& done);
int OsSeekFile(OsHandle handle, std::int64_t position);
int OsFilePosition(OsHandle handle, std::int64_t& position);
int OsFileSize(OsHandle handle, std::int64_t& size);
// Cuts the file at its current position.
int OsTruncateFile(OsHandle handle);
int OsCloseFile(OsHandle handle);
int OsDeleteFile(const std::string& path);
// The names in a folder, without "." and "..". Empty when the folder cannot be read.
std::vector<std::string> OsListFolder(const std::string& folder);
