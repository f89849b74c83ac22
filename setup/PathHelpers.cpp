#include "setup/PathHelpers.h"

#include "setup/OsFile.h"

namespace {

// Position of the first dot, backslash or colon found searching from the end, or npos.
std::string::size_type LastExtensionStop(const std::string& name) {
    return name.find_last_of(".\\:");
}

}  // namespace

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '\\') return dir + name;
    return dir + '\\' + name;
}

std::string DirectoryOf(const std::string& path) {
    const auto stop = path.find_last_of("\\:");
    if (stop == std::string::npos) return {};
    return path.substr(0, stop + 1);
}

std::string WithExtension(const std::string& name, const std::string& ext) {
    const auto stop = LastExtensionStop(name);
    if (stop != std::string::npos && name[stop] == '.') return name.substr(0, stop) + ext;
    return name + ext;
}

std::string ExtensionOf(const std::string& name) {
    const auto stop = LastExtensionStop(name);
    if (stop == std::string::npos || name[stop] != '.') return {};
    return name.substr(stop, 255);
}

std::string UpperExtensionOf(const std::string& name) {
    std::string ext = ExtensionOf(name);
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return ext;
}

bool IsExistingFile(const std::string& path) {
    return OsPathKind(path) == OsEntryKind::File;
}
