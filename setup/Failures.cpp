#include "setup/Failures.h"

#include <cstdio>

[[gnu::noinline]] SetupFailure::SetupFailure(std::string className, std::string message)
    : className_(std::move(className)), message_(std::move(message)), address_(reinterpret_cast<std::uintptr_t>(__builtin_return_address(0))) {}

std::string InOutErrorMessage(int code) {
    switch (code) {
        case ErrorCode::FileNotFound: return "File not found";
        case ErrorCode::PathNotFound: return "Invalid filename";
        case ErrorCode::TooManyOpenFiles: return "Too many open files";
        case ErrorCode::AccessDenied: return "File access denied";
        case ErrorCode::ReadBeyondEnd: return "Read beyond end of file";
        case ErrorCode::DiskFull: return "Disk full";
        case ErrorCode::InvalidNumericInput: return "Invalid numeric input";
        default: return "I/O error " + std::to_string(code);
    }
}

std::string FormatFailureReport(const std::string& className, const std::string& moduleFileName,
                                std::uintptr_t address, const std::string& message) {
    char addressText[16];
    std::snprintf(addressText, sizeof addressText, "%08X", static_cast<unsigned>(address & 0xFFFFFFFFu));
    std::string text = "Exception " + className + " in module " + moduleFileName.substr(0, 63) + " at " +
                       addressText + ".\n" + message;
    if (!message.empty() && message.back() != '.') text += '.';
    return text;
}
