// The failures that end a run through the failure report. Each carries the class name and the
// message the user sees, and the code address where it was raised.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

class SetupFailure : public std::exception {
public:
    SetupFailure(std::string className, std::string message);

    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& ClassName() const { return className_; }
    const std::string& Message() const { return message_; }
    // Address of the code that raised the failure, for the report's "at %p".
    std::uintptr_t Address() const { return address_; }

private:
    std::string className_;
    std::string message_;
    std::uintptr_t address_;
};

// Windows error codes. The POSIX file layer maps errno onto them so that messages are the same
// on both builds; 100 and 101 are the file layer's own codes for short reads and writes.
namespace ErrorCode {
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int TooManyOpenFiles = 4;
constexpr int AccessDenied = 5;
constexpr int InvalidHandle = 6;
constexpr int InvalidParameter = 87;
constexpr int NegativeSeek = 131;
constexpr int ReadBeyondEnd = 100;
constexpr int DiskFull = 101;
constexpr int InvalidNumericInput = 106;
}  // namespace ErrorCode

// The message that belongs to a file operation's error code ("File not found", "I/O error 32").
std::string InOutErrorMessage(int code);

// The derived constructors are forced inline so that the address SetupFailure records lies in the
// function that raised the failure, not in a constructor.
#define QUENFOLD_RAISE_SITE [[gnu::always_inline]] inline

class EInOutError : public SetupFailure {
public:
    QUENFOLD_RAISE_SITE explicit EInOutError(int code)
        : SetupFailure("EInOutError", InOutErrorMessage(code)), code_(code) {}
    int ErrorCode() const { return code_; }

private:
    int code_;
};

class ERegistryException : public SetupFailure {
public:
    QUENFOLD_RAISE_SITE explicit ERegistryException(std::string message)
        : SetupFailure("ERegistryException", std::move(message)) {}
};

class EOutOfMemory : public SetupFailure {
public:
    QUENFOLD_RAISE_SITE EOutOfMemory() : SetupFailure("EOutOfMemory", "Out of memory") {}
};

class ElzhException : public SetupFailure {
public:
    QUENFOLD_RAISE_SITE explicit ElzhException(std::string message)
        : SetupFailure("ElzhException", std::move(message)) {}
};

// The trailer at the end of the setup program lists names or positions that cannot be right: a
// damaged or tampered file list is refused before anything is written.
class EDamagedFileList : public SetupFailure {
public:
    // owner names the program that carries the list.
    QUENFOLD_RAISE_SITE explicit EDamagedFileList(const std::string& fault,
                                                  const std::string& owner = "The setup program")
        : SetupFailure("EDamagedFileList", owner + "'s file list is damaged: " + fault) {}
};

// The joined archive does not decode to the bundle the file list describes: a volume is cut
// short, damaged or from another set of disks.
class EDamagedArchive : public SetupFailure {
public:
    QUENFOLD_RAISE_SITE explicit EDamagedArchive(const std::string& fault)
        : SetupFailure("EDamagedArchive", "The installation files are damaged: " + fault) {}
};

// The uninstaller could not delete one of the product's files.
class ERemovalFailed : public SetupFailure {
public:
    QUENFOLD_RAISE_SITE ERemovalFailed(const std::string& path, int code)
        : SetupFailure("ERemovalFailed", "Cannot remove " + path + ": " + InOutErrorMessage(code)) {}
};

// The text of the failure report: "Exception <class> in module <file> at <address>." then a line
// feed and the message, with a full stop added when it has none.
std::string FormatFailureReport(const std::string& className, const std::string& moduleFileName,
                                std::uintptr_t address, const std::string& message);
