#include "tests/e2e/driver/FileHandleWin32.h"

#include "tests/e2e/driver/StepFailure.h"

std::string ErrorText(const std::string& what) { return what + ": error " + std::to_string(GetLastError()); }

FileHandle::FileHandle(const std::string& path, DWORD access, DWORD disposition)
    : handle_(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) throw StepFailure(ErrorText("cannot open " + path));
}

FileHandle::~FileHandle() { CloseHandle(handle_); }

long long FileHandle::Size() const {
    LARGE_INTEGER size;
    GetFileSizeEx(handle_, &size);
    return size.QuadPart;
}

std::vector<char> FileHandle::Read(std::size_t most) const {
    std::vector<char> data(most);
    DWORD got = 0;
    if (!ReadFile(handle_, data.data(), static_cast<DWORD>(most), &got, nullptr)) throw StepFailure(ErrorText("read"));
    data.resize(got);
    return data;
}
