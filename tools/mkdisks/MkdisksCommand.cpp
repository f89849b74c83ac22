#include "tools/mkdisks/MkdisksCommand.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <new>
#include <optional>

#include "setup/Failures.h"
#include "setup/ProductConfig.h"
#include "tools/mkdisks/BuildDisks.h"
#include "tools/mkdisks/MkdisksError.h"
#include "tools/mkdisks/VerifyDisks.h"

namespace {

const char* const Usage =
    "usage:\n"
    "  mkdisks build --setup SETUP.EXE --out DISKS [--uninstaller FILE] [--manifest FILE] [--disk-size BYTES]\n"
    "                PRODUCTDIR\n"
    "  mkdisks list SETUP.EXE\n"
    "  mkdisks verify DISK1 [DISK2 ...] [--against PRODUCTDIR] [--setup FILE]\n"
    "  mkdisks --help\n";

void PrintHelp(std::ostream& out) {
    out << "mkdisks: makes and checks the distribution disks of " << ProductConfig.ProductTitle << ".\n\n"
        << Usage
        << "\n"
           "build   Bundles the product folder (the main program " << ProductConfig.ExeFileName
        << " first, then the other files\n"
           "        in the manifest's order, one name per line, or sorted by name; last the uninstaller,\n"
           "        UnInstal.Exe beside SETUP.EXE unless --uninstaller names it, with the file list\n"
           "        appended), packs the bundle and\n"
           "        writes DISKS/disk1 (SETUP.EXE with the file list appended, and "
        << ProductConfig.VolumeFileName << ")\n"
           "        and DISKS/disk2 ... up to disk " << ProductConfig.DiskCount
        << ", one volume each, filling every disk to BYTES\n"
           "        (default 1457664, a 1.44 MB floppy). DISKS must not exist or be empty; nothing is\n"
           "        left behind when the build fails.\n"
           "list    Prints the file list appended to SETUP.EXE: the bundle's size, then each file's\n"
           "        name, offset and size.\n"
           "verify  Reads the file list of the setup program on DISK1, joins the volumes of the disk\n"
           "        folders in order (a volume whose folder is not given is looked for on DISK1), decodes\n"
           "        them as the setup program does, and with --against compares every file with the\n"
           "        product folder. Says plainly what differs.\n"
           "\nExit status: 0 when done and sound, 1 on a failure or unsound disks, 2 on a usage error.\n";
}

class UsageError : public MkdisksError {
public:
    using MkdisksError::MkdisksError;
};

// Options with one value each ("--name VALUE" or "--name=VALUE") and the remaining operands.
struct ParsedArgs {
    std::map<std::string, std::string> Options;
    std::vector<std::string> Operands;
};

ParsedArgs Parse(const std::vector<std::string>& args, std::size_t from, std::initializer_list<const char*> known) {
    ParsedArgs parsed;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            parsed.Operands.push_back(arg);
            continue;
        }
        const auto equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (std::find_if(known.begin(), known.end(), [&](const char* k) { return name == k; }) == known.end()) {
            throw UsageError("unknown option " + name + " for " + args[0]);
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError(name + " needs a value");
        }
        if (!parsed.Options.emplace(name, value).second) throw UsageError(name + " is given twice");
    }
    return parsed;
}

std::optional<std::filesystem::path> OptionalPath(const ParsedArgs& parsed, const std::string& name) {
    const auto found = parsed.Options.find(name);
    if (found == parsed.Options.end()) return std::nullopt;
    if (found->second.empty()) throw UsageError(name + " needs a value");
    return std::filesystem::path(found->second);
}

std::filesystem::path RequiredPath(const ParsedArgs& parsed, const std::string& name) {
    auto path = OptionalPath(parsed, name);
    if (!path) throw UsageError(name + " is required");
    return *path;
}

std::uint64_t DiskSizeOf(const ParsedArgs& parsed) {
    const auto found = parsed.Options.find("--disk-size");
    if (found == parsed.Options.end()) return DefaultDiskSize;
    const std::string& text = found->second;
    std::uint64_t size = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (error != std::errc() || end != text.data() + text.size() || size == 0 || size >= (std::uint64_t{1} << 32)) {
        throw UsageError("--disk-size takes a number of bytes from 1 to 4294967295, not \"" + text + "\"");
    }
    return size;
}

int Build(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParsedArgs parsed = Parse(args, 1, {"--setup", "--out", "--uninstaller", "--manifest", "--disk-size"});
    if (parsed.Operands.size() != 1) throw UsageError("build takes one product folder");
    BuildOptions options;
    options.Setup = RequiredPath(parsed, "--setup");
    options.Out = RequiredPath(parsed, "--out");
    options.Manifest = OptionalPath(parsed, "--manifest");
    options.Uninstaller = OptionalPath(parsed, "--uninstaller");
    options.DiskSize = DiskSizeOf(parsed);
    options.ProductFolder = parsed.Operands.front();
    BuildDisks(options, out, err);
    return ExitSuccess;
}

int List(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = Parse(args, 1, {});
    if (parsed.Operands.size() != 1) throw UsageError("list takes one setup program");
    return ListTrailer(parsed.Operands.front(), out) ? ExitSuccess : ExitFailure;
}

int Verify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParsedArgs parsed = Parse(args, 1, {"--against", "--setup"});
    if (parsed.Operands.empty()) throw UsageError("verify takes at least the folder of disk 1");
    VerifyOptions options;
    options.Disks.assign(parsed.Operands.begin(), parsed.Operands.end());
    options.Against = OptionalPath(parsed, "--against");
    options.Setup = OptionalPath(parsed, "--setup");
    return VerifyDisks(options, out, err) ? ExitSuccess : ExitFailure;
}

}  // namespace

int RunMkdisks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << Usage;
        return ExitUsage;
    }
    const std::string& command = args.front();
    const bool wantsHelp = std::find(args.begin(), args.end(), "--help") != args.end() ||
                           std::find(args.begin(), args.end(), "-h") != args.end();
    if (wantsHelp || command == "help") {
        PrintHelp(out);
        return ExitSuccess;
    }
    try {
        if (command == "build") return Build(args, out, err);
        if (command == "list") return List(args, out);
        if (command == "verify") return Verify(args, out, err);
        throw UsageError("unknown command \"" + command + "\"");
    } catch (const UsageError& error) {
        err << "mkdisks: " << error.what() << "\n" << Usage;
        return ExitUsage;
    } catch (const MkdisksError& error) {
        err << "mkdisks: " << error.what() << "\n";
    } catch (const SetupFailure& failure) {
        err << "mkdisks: " << failure.Message() << "\n";
    } catch (const std::filesystem::filesystem_error& error) {
        err << "mkdisks: " << error.code().message() << ": " << error.path1().string() << "\n";
    } catch (const std::bad_alloc&) {
        err << "mkdisks: out of memory\n";
    }
    return ExitFailure;
}
