// POSIX file calls for the native build. Paths use the Windows separator in the portable code;
// a backslash becomes a slash here. Sharing modes have no POSIX counterpart and are not enforced.
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "setup/Failures.h"
#include "setup/OsFile.h"
#include "setup/PathHelpers.h"

namespace {

std::string NativePath(std::string path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

bool ParentExists(const std::string& nativePath) {
    const auto slash = nativePath.find_last_of('/');
    if (slash == std::string::npos) return true;
    struct stat st {};
    return ::stat(slash == 0 ? "/" : nativePath.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int WindowsCodeOf(int err, const std::string& nativePath = {}) {
    switch (err) {
        case ENOENT: return ParentExists(nativePath) ? ErrorCode::FileNotFound : ErrorCode::PathNotFound;
        case ENOTDIR:
        case ENAMETOOLONG: return ErrorCode::PathNotFound;
        case EMFILE:
        case ENFILE: return ErrorCode::TooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY: return ErrorCode::AccessDenied;
        case EBADF: return ErrorCode::InvalidHandle;
        case ENOSPC:
        case EDQUOT: return OsErrorDiskFull;
        case EINVAL: return ErrorCode::InvalidParameter;
        case EEXIST: return 80;    // ERROR_FILE_EXISTS
        case EIO: return 1117;     // ERROR_IO_DEVICE
        default: return 31;        // ERROR_GEN_FAILURE
    }
}

}  // namespace

OsEntryKind OsPathKind(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(NativePath(path).c_str(), &st) != 0) return OsEntryKind::None;
    return S_ISDIR(st.st_mode) ? OsEntryKind::Directory : OsEntryKind::File;
}

int OsOpenFile(const std::string& path, FileAccess access, FileSharing, FileDisposition disposition,
               OsHandle& handle) {
    handle = InvalidOsHandle;
    const std::string native = NativePath(path);
    int flags = O_CLOEXEC;
    switch (access) {
        case FileAccess::ReadOnly: flags |= O_RDONLY; break;
        case FileAccess::WriteOnly: flags |= O_WRONLY; break;
        case FileAccess::ReadWrite: flags |= O_RDWR; break;
    }
    if (disposition == FileDisposition::CreateAlways) flags |= O_CREAT | O_TRUNC;
    // A directory opens read-only under POSIX; Windows refuses it as a file.
    if (OsPathKind(path) == OsEntryKind::Directory) return ErrorCode::AccessDenied;
    const int fd = ::open(native.c_str(), flags, 0644);
    if (fd < 0) return WindowsCodeOf(errno, native);
    handle = fd;
    return 0;
}

int OsReadFile(OsHandle handle, void* buffer, std::uint32_t count, std::uint32_t& done) {
    done = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (done < count) {
        const ssize_t n = ::read(static_cast<int>(handle), out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return WindowsCodeOf(errno);
        }
        if (n == 0) break;
        done += static_cast<std::uint32_t>(n);
    }
    return 0;
}

int OsWriteFile(OsHandle handle, const void* buffer, std::uint32_t count, std::uint32_t& done) {
    done = 0;
    const auto* in = static_cast<const unsigned char*>(buffer);
    while (done < count) {
        const ssize_t n = ::write(static_cast<int>(handle), in + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return WindowsCodeOf(errno);
        }
        done += static_cast<std::uint32_t>(n);
    }
    return 0;
}

int OsSeekFile(OsHandle handle, std::int64_t position) {
    if (position < 0) return ErrorCode::NegativeSeek;
    if (::lseek(static_cast<int>(handle), static_cast<off_t>(position), SEEK_SET) < 0) return WindowsCodeOf(errno);
    return 0;
}

int OsFilePosition(OsHandle handle, std::int64_t& position) {
    const off_t at = ::lseek(static_cast<int>(handle), 0, SEEK_CUR);
    if (at < 0) return WindowsCodeOf(errno);
    position = at;
    return 0;
}

int OsFileSize(OsHandle handle, std::int64_t& size) {
    struct stat st {};
    if (::fstat(static_cast<int>(handle), &st) != 0) return WindowsCodeOf(errno);
    size = st.st_size;
    return 0;
}

int OsTruncateFile(OsHandle handle) {
    std::int64_t at = 0;
    if (const int code = OsFilePosition(handle, at)) return code;
    if (::ftruncate(static_cast<int>(handle), static_cast<off_t>(at)) != 0) return WindowsCodeOf(errno);
    return 0;
}

int OsCloseFile(OsHandle handle) {
    if (::close(static_cast<int>(handle)) != 0) return WindowsCodeOf(errno);
    return 0;
}

int OsDeleteFile(const std::string& path) {
    const std::string native = NativePath(path);
    if (OsPathKind(path) == OsEntryKind::Directory) return ErrorCode::AccessDenied;
    if (::unlink(native.c_str()) != 0) return WindowsCodeOf(errno, native);
    return 0;
}

std::vector<std::string> OsListFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(NativePath(folder).c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return names;
}
