// read-only PATH on|off                      sets or clears the file's read-only attribute
// set-file-time PATH "YYYY-MM-DD hh:mm:ss"   sets the file's last-write time (UTC)
// file-time PATH "YYYY-MM-DD hh:mm:ss"       the file's last-write time (UTC) is exactly that
// A file that the user keeps gets an old time before the run, so that any write shows.
#include <cstdio>

#include "tests/e2e/driver/DriverContextWin32.h"
#include "tests/e2e/driver/FileHandleWin32.h"
#include "tests/e2e/driver/StepFailure.h"

namespace {

FILETIME ParseTime(const std::string& text) {
    SYSTEMTIME time = {};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char rest = 0;
    FILETIME result;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second,
                    &rest) != 6) {
        throw StepFailure("a time is written YYYY-MM-DD hh:mm:ss, not \"" + text + "\"");
    }
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    if (!SystemTimeToFileTime(&time, &result)) throw StepFailure("\"" + text + "\" is no valid time");
    return result;
}

std::string DescribeTime(const FILETIME& fileTime) {
    SYSTEMTIME time = {};
    FileTimeToSystemTime(&fileTime, &time);
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}

void ReadOnly(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    bool on = args.TakeWord("on");
    if (!on && !args.TakeWord("off")) throw StepFailure("expected on or off");
    args.Finish();
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw StepFailure(ErrorText("cannot read the attributes of " + path));
    attributes = on ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY;
    if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileAttributesA(path.c_str(), attributes)) throw StepFailure(ErrorText("cannot set the attributes of " + path));
}

void SetFileTimeStep(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    FILETIME time = ParseTime(args.Text("time"));
    args.Finish();
    FileHandle file(path, FILE_WRITE_ATTRIBUTES, OPEN_EXISTING);
    if (!SetFileTime(file.Get(), nullptr, nullptr, &time)) throw StepFailure(ErrorText("cannot set the time of " + path));
}

void FileTime(DriverContext& context, StepArgs& args) {
    std::string path = context.ExpandPath(args.Text("path"));
    FILETIME expected = ParseTime(args.Text("time"));
    args.Finish();
    FileHandle file(path, GENERIC_READ, OPEN_EXISTING);
    FILETIME actual;
    if (!GetFileTime(file.Get(), nullptr, nullptr, &actual)) throw StepFailure(ErrorText("cannot read the time of " + path));
    if (CompareFileTime(&actual, &expected) != 0) {
        throw StepFailure(path + " was last written " + DescribeTime(actual) + ", expected " + DescribeTime(expected));
    }
}

}  // namespace

void AddFileAttributeCommands(CommandTable& table) {
    table["read-only"] = ReadOnly;
    table["set-file-time"] = SetFileTimeStep;
    table["file-time"] = FileTime;
}
