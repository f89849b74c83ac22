// trailer PATH entry N name "T"           the entry's name (length byte and characters)
// trailer PATH entry N name-length L      only the entry's length byte
// trailer PATH entry N offset V | size V  the entry's offset or size
// trailer PATH entry N offset-by D | size-by D
//                                         moves the offset or changes the size by D bytes
// trailer PATH count N                    only the record count byte
// trailer PATH remove                     cuts the trailer off
// Damages the file list of a setup program (normally a copy on drive A:) before it is started.
#include <vector>

#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/FileHandleWin32.h"
#include "tests/e2e/driver/StepFailure.h"
#include "tests/e2e/driver/TrailerEdit.h"

namespace {

class WholeFile {
public:
    explicit WholeFile(const std::string& path) : path_(path) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) throw StepFailure(ErrorText("cannot open " + path));
        bytes_.resize(GetFileSize(file, nullptr));
        DWORD got = 0;
        BOOL ok = ReadFile(file, bytes_.data(), static_cast<DWORD>(bytes_.size()), &got, nullptr);
        CloseHandle(file);
        if (!ok || got != bytes_.size()) throw StepFailure(ErrorText("cannot read " + path));
    }

    std::vector<std::uint8_t>& Bytes() { return bytes_; }

    void Save() const {
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) throw StepFailure(ErrorText("cannot rewrite " + path_));
        DWORD put = 0;
        BOOL ok = WriteFile(file, bytes_.data(), static_cast<DWORD>(bytes_.size()), &put, nullptr);
        CloseHandle(file);
        if (!ok || put != bytes_.size()) throw StepFailure(ErrorText("cannot write " + path_));
    }

private:
    std::string path_;
    std::vector<std::uint8_t> bytes_;
};

void EditEntry(std::vector<std::uint8_t>& bytes, StepArgs& args) {
    long entry = args.Number("entry number");
    if (args.TakeWord("name")) {
        SetTrailerName(bytes, entry, args.Text("name"));
    } else if (args.TakeWord("name-length")) {
        SetTrailerNameLength(bytes, entry, args.Number("name length"));
    } else if (args.TakeWord("offset")) {
        SetTrailerField(bytes, entry, TrailerField::Offset, args.Number("offset"));
    } else if (args.TakeWord("size")) {
        SetTrailerField(bytes, entry, TrailerField::Size, args.Number("size"));
    } else if (args.TakeWord("offset-by")) {
        long long moved = TrailerFieldValue(bytes, entry, TrailerField::Offset) + args.Number("byte count");
        SetTrailerField(bytes, entry, TrailerField::Offset, moved);
    } else if (args.TakeWord("size-by")) {
        long long changed = TrailerFieldValue(bytes, entry, TrailerField::Size) + args.Number("byte count");
        SetTrailerField(bytes, entry, TrailerField::Size, changed);
    } else {
        throw StepFailure("expected name, name-length, offset, size, offset-by or size-by");
    }
}

void Trailer(DriverContext& context, StepArgs& args) {
    WholeFile file(context.ExpandPath(args.Text("path")));
    std::vector<std::uint8_t>& bytes = file.Bytes();
    if (args.TakeWord("entry")) {
        EditEntry(bytes, args);
    } else if (args.TakeWord("count")) {
        SetTrailerCount(bytes, args.Number("record count"));
    } else if (args.TakeWord("remove")) {
        RemoveTrailer(bytes);
    } else {
        throw StepFailure("expected entry, count or remove");
    }
    args.Finish();
    file.Save();
}

}  // namespace

void AddTrailerCommands(CommandTable& table) { table["trailer"] = Trailer; }
