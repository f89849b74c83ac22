#include "tests/peer/Lhasa.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Quotes a path for the shell that popen runs.
std::string ShellQuoted(const std::filesystem::path& path) {
    std::string quoted = "'";
    for (char ch : path.string()) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return quoted + "'";
}

}  // namespace

std::optional<std::filesystem::path> FindLhasa() {
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/bin:/bin";
    while (!dirs.empty()) {
        const auto colon = dirs.find(':');
        const std::filesystem::path candidate = std::filesystem::path(dirs.substr(0, colon)) / "lhasa";
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    }
    return std::nullopt;
}

LhasaResult LhasaPrint(const std::filesystem::path& lhasa, const std::filesystem::path& archive) {
    const std::string command = ShellQuoted(lhasa) + " -pq " + ShellQuoted(archive);
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    LhasaResult result;
    char block[1 << 16];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, pipe)) > 0) result.Output.insert(result.Output.end(), block, block + got);
    const int status = pclose(pipe);
    result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
