// Win32 file calls for the Windows build: plain handles, byte-granular.
#include <windows.h>

#include "setup/OsFile.h"
#include "setup/PathHelpers.h"

namespace {

HANDLE H(OsHandle handle) { return reinterpret_cast<HANDLE>(handle); }

int LastError() {
    const DWORD code = GetLastError();
    return code == 0 ? 31 : static_cast<int>(code);
}

}  // namespace

OsEntryKind OsPathKind(const std::string& path) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return OsEntryKind::None;
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? OsEntryKind::Directory : OsEntryKind::File;
}

int OsOpenFile(const std::string& path, FileAccess access, FileSharing sharing, FileDisposition disposition,
               OsHandle& handle) {
    handle = InvalidOsHandle;
    DWORD desired = 0;
    switch (access) {
        case FileAccess::ReadOnly: desired = GENERIC_READ; break;
        case FileAccess::WriteOnly: desired = GENERIC_WRITE; break;
        case FileAccess::ReadWrite: desired = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD share = 0;
    switch (sharing) {
        case FileSharing::None: share = 0; break;
        case FileSharing::Read: share = FILE_SHARE_READ; break;
        case FileSharing::ReadWrite: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    }
    const DWORD how = disposition == FileDisposition::CreateAlways ? CREATE_ALWAYS : OPEN_EXISTING;
    const HANDLE h = CreateFileA(path.c_str(), desired, share, nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LastError();
    handle = reinterpret_cast<OsHandle>(h);
    return 0;
}

int OsReadFile(OsHandle handle, void* buffer, std::uint32_t count, std::uint32_t& done) {
    DWORD got = 0;
    const BOOL ok = ReadFile(H(handle), buffer, count, &got, nullptr);
    done = got;
    return ok ? 0 : LastError();
}

int OsWriteFile(OsHandle handle, const void* buffer, std::uint32_t count, std::uint32_t& done) {
    DWORD put = 0;
    const BOOL ok = WriteFile(H(handle), buffer, count, &put, nullptr);
    done = put;
    return ok ? 0 : LastError();
}

int OsSeekFile(OsHandle handle, std::int64_t position) {
    LARGE_INTEGER to;
    to.QuadPart = position;
    return SetFilePointerEx(H(handle), to, nullptr, FILE_BEGIN) ? 0 : LastError();
}

int OsFilePosition(OsHandle handle, std::int64_t& position) {
    LARGE_INTEGER zero, at;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(H(handle), zero, &at, FILE_CURRENT)) return LastError();
    position = at.QuadPart;
    return 0;
}

int OsFileSize(OsHandle handle, std::int64_t& size) {
    LARGE_INTEGER s;
    if (!GetFileSizeEx(H(handle), &s)) return LastError();
    size = s.QuadPart;
    return 0;
}

int OsTruncateFile(OsHandle handle) { return SetEndOfFile(H(handle)) ? 0 : LastError(); }

int OsCloseFile(OsHandle handle) { return CloseHandle(H(handle)) ? 0 : LastError(); }

int OsDeleteFile(const std::string& path) { return DeleteFileA(path.c_str()) ? 0 : LastError(); }

std::vector<std::string> OsListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}
