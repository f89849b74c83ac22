#include "setup/CheckedFile.h"

#include <utility>

#include "setup/Failures.h"

CheckedFile::~CheckedFile() {
    if (IsOpen()) OsCloseFile(handle_);
}

CheckedFile::CheckedFile(CheckedFile&& other) noexcept
    : handle_(std::exchange(other.handle_, InvalidOsHandle)), checking_(other.checking_), pending_(other.pending_) {}

CheckedFile& CheckedFile::operator=(CheckedFile&& other) noexcept {
    if (this != &other) {
        if (IsOpen()) OsCloseFile(handle_);
        handle_ = std::exchange(other.handle_, InvalidOsHandle);
        checking_ = other.checking_;
        pending_ = other.pending_;
    }
    return *this;
}

int CheckedFile::TakeError() { return std::exchange(pending_, 0); }

void CheckedFile::Fail(int code) {
    if (checking_) throw EInOutError(code);
    if (pending_ == 0) pending_ = code;
}

void CheckedFile::Open(const std::string& path, std::uint8_t fileOpenMode) {
    const FileAccess access = fileOpenMode == 0   ? FileAccess::ReadOnly
                              : fileOpenMode == 1 ? FileAccess::WriteOnly
                                                  : FileAccess::ReadWrite;
    if (const int code = TryOpen(path, access, FileSharing::Read, FileDisposition::OpenExisting)) Fail(code);
}

void CheckedFile::Create(const std::string& path) {
    if (const int code = TryOpen(path, FileAccess::ReadWrite, FileSharing::Read, FileDisposition::CreateAlways)) {
        Fail(code);
    }
}

int CheckedFile::TryOpen(const std::string& path, FileAccess access, FileSharing sharing,
                         FileDisposition disposition) {
    if (IsOpen()) {
        OsCloseFile(handle_);
        handle_ = InvalidOsHandle;
    }
    return OsOpenFile(path, access, sharing, disposition, handle_);
}

std::uint32_t CheckedFile::Read(void* buffer, std::uint32_t count) {
    std::uint32_t done = 0;
    if (!IsOpen()) {
        Fail(ErrorCode::InvalidHandle);
        return 0;
    }
    if (const int code = OsReadFile(handle_, buffer, count, done)) Fail(code);
    return done;
}

void CheckedFile::ReadExact(void* buffer, std::uint32_t count) {
    if (Read(buffer, count) < count) Fail(ErrorCode::ReadBeyondEnd);
}

void CheckedFile::Write(const void* buffer, std::uint32_t count) {
    if (!IsOpen()) {
        Fail(ErrorCode::InvalidHandle);
        return;
    }
    std::uint32_t done = 0;
    int code = OsWriteFile(handle_, buffer, count, done);
    // A full disk is a write that could not store all it was given.
    if (code == OsErrorDiskFull || code == OsErrorHandleDiskFull) code = ErrorCode::DiskFull;
    if (code == 0 && done < count) code = ErrorCode::DiskFull;
    if (code) Fail(code);
}

void CheckedFile::Seek(std::int64_t position) {
    if (!IsOpen()) return Fail(ErrorCode::InvalidHandle);
    if (const int code = OsSeekFile(handle_, position)) Fail(code);
}

std::int64_t CheckedFile::Position() {
    std::int64_t at = 0;
    if (!IsOpen()) {
        Fail(ErrorCode::InvalidHandle);
    } else if (const int code = OsFilePosition(handle_, at)) {
        Fail(code);
    }
    return at;
}

std::int64_t CheckedFile::Size() {
    std::int64_t size = 0;
    if (!IsOpen()) {
        Fail(ErrorCode::InvalidHandle);
    } else if (const int code = OsFileSize(handle_, size)) {
        Fail(code);
    }
    return size;
}

bool CheckedFile::Eof() { return Position() >= Size(); }

void CheckedFile::Truncate() {
    if (!IsOpen()) return Fail(ErrorCode::InvalidHandle);
    if (const int code = OsTruncateFile(handle_)) Fail(code);
}

void CheckedFile::Close() {
    if (!IsOpen()) return Fail(ErrorCode::InvalidHandle);
    const int code = OsCloseFile(std::exchange(handle_, InvalidOsHandle));
    if (code) Fail(code);
}
