// file-exists PATH, dir-exists PATH, absent PATH
//                                what is at a path; file-exists, absent and file-text wait up to
//                                timeout=MS when it is given (for what another program does)
// file-size PATH N               the file holds N bytes
// file-same PATH OTHER           the two files hold the same bytes
// file-text PATH [MODE] "T"      the file's whole content as text
// copy FROM TO                   copies a file; TO ending in a backslash is a folder (inserting a
//                                disk is copying its volume file into A:\)
// write-file PATH "T"            creates or replaces a file holding T
// append-bytes PATH HEX...       appends bytes to a file, each argument pairs of hex digits
// cut-bytes PATH N               removes the last N bytes of a file
// delete PATH                    deletes a file
// make-dir PATH                  creates a folder and any missing parents
#include <cstdint>
#include <optional>
#include <vector>

#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/FileHandleWin32.h"
#include "tests/e2e/driver/StepFailure.h"
#include "tests/e2e/driver/TextMatch.h"

namespace {

constexpr size_t kCompareBlock = 65536;

std::optional<DWORD> AttributesOf(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

void FileExists(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    DWORD timeout = args.Option("timeout", 0);
    args.Finish();
    std::optional<DWORD> attributes;
    WaitFor(timeout, [&] { return (attributes = AttributesOf(path)).has_value(); });
    if (!attributes) throw StepFailure("there is no file " + path);
    if (*attributes & FILE_ATTRIBUTE_DIRECTORY) throw StepFailure(path + " is a folder, not a file");
}

void DirExists(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    args.Finish();
    std::optional<DWORD> attributes = AttributesOf(path);
    if (!attributes) throw StepFailure("there is no folder " + path);
    if (!(*attributes & FILE_ATTRIBUTE_DIRECTORY)) throw StepFailure(path + " is a file, not a folder");
}

void Absent(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    DWORD timeout = args.Option("timeout", 0);
    args.Finish();
    if (!WaitFor(timeout, [&] { return !AttributesOf(path); })) throw StepFailure(path + " exists");
}

void FileSize(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    long expected = args.Number("size");
    args.Finish();
    long long size = FileHandle(path, GENERIC_READ, OPEN_EXISTING).Size();
    if (size != expected) {
        throw StepFailure(path + " holds " + std::to_string(size) + " bytes, expected " + std::to_string(expected));
    }
}

void FileSame(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    std::string other = context.ExpandPath(args.Text("other path"));
    args.Finish();
    FileHandle a(path, GENERIC_READ, OPEN_EXISTING), b(other, GENERIC_READ, OPEN_EXISTING);
    if (a.Size() != b.Size()) {
        throw StepFailure(path + " holds " + std::to_string(a.Size()) + " bytes, " + other + " " +
                          std::to_string(b.Size()));
    }
    for (long long offset = 0;; offset += kCompareBlock) {
        std::vector<char> blockA = a.Read(kCompareBlock), blockB = b.Read(kCompareBlock);
        if (blockA != blockB) {
            throw StepFailure(path + " and " + other + " differ in the block at offset " + std::to_string(offset));
        }
        if (blockA.empty()) return;
    }
}

std::string TextOfFile(const std::string& path) {
    FileHandle file(path, GENERIC_READ, OPEN_EXISTING);
    std::vector<char> bytes = file.Read(static_cast<size_t>(file.Size()));
    return std::string(bytes.begin(), bytes.end());
}

void FileText(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    TextExpectation expected = ReadExpectation(args);
    DWORD timeout = args.Option("timeout", 0);
    args.Finish();
    WaitFor(timeout, [&] { return AttributesOf(path) && expected.Matches(TextOfFile(path)); });
    std::string text = TextOfFile(path);
    if (!expected.Matches(text)) {
        throw StepFailure(path + " holds " + QuotedText(text) + ", expected " + expected.Describe());
    }
}

void Copy(DriverContext& context, StepArgs& args) {
    std::string from = context.ExpandPath(args.Text("source"));
    std::string to = context.ExpandPath(args.Text("target"));
    args.Finish();
    if (!to.empty() && to.back() == '\\') to += from.substr(from.find_last_of("\\:") + 1);
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) throw StepFailure(ErrorText("cannot copy " + from + " to " + to));
}

void WriteFileStep(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    std::string text = args.Text("content");
    args.Finish();
    FileHandle file(path, GENERIC_WRITE, CREATE_ALWAYS);
    DWORD written = 0;
    if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size()) {
        throw StepFailure(ErrorText("cannot write " + path));
    }
}

void AppendBytes(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    std::vector<std::uint8_t> bytes;
    while (!args.AtEnd()) {
        std::vector<std::uint8_t> more = args.HexBytes("bytes");
        bytes.insert(bytes.end(), more.begin(), more.end());
    }
    args.Finish();
    if (bytes.empty()) throw StepFailure("append-bytes needs bytes to append");
    FileHandle file(path, FILE_APPEND_DATA, OPEN_EXISTING);
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        throw StepFailure(ErrorText("cannot append to " + path));
    }
}

void CutBytes(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    long count = args.Number("byte count");
    args.Finish();
    FileHandle file(path, GENERIC_WRITE, OPEN_EXISTING);
    if (count < 0 || count > file.Size()) {
        throw StepFailure("cannot cut " + std::to_string(count) + " bytes from " + path + " of " +
                          std::to_string(file.Size()));
    }
    LARGE_INTEGER end;
    end.QuadPart = file.Size() - count;
    if (!SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file.Get())) {
        throw StepFailure(ErrorText("cannot cut " + path));
    }
}

void Delete(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    args.Finish();
    if (!DeleteFileA(path.c_str())) throw StepFailure(ErrorText("cannot delete " + path));
}

void MakeDir(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    args.Finish();
    // Each level in turn, from the first backslash after the drive on.
    for (size_t slash = path.find('\\', 3); ; slash = path.find('\\', slash + 1)) {
        std::string level = path.substr(0, slash);
        if (!CreateDirectoryA(level.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            throw StepFailure(ErrorText("cannot create the folder " + level));
        }
        if (slash == std::string::npos) return;
    }
}

}  // namespace

void AddFileCommands(CommandTable& table) {
    table["file-exists"] = FileExists;
    table["dir-exists"] = DirExists;
    table["absent"] = Absent;
    table["file-size"] = FileSize;
    table["file-same"] = FileSame;
    table["file-text"] = FileText;
    table["copy"] = Copy;
    table["write-file"] = WriteFileStep;
    table["append-bytes"] = AppendBytes;
    table["cut-bytes"] = CutBytes;
    table["delete"] = Delete;
    table["make-dir"] = MakeDir;
}
