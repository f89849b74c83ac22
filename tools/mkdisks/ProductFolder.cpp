#include "tools/mkdisks/ProductFolder.h"

#include <algorithm>
#include <map>

#include "bundle/BundleDirectoryValidation.h"
#include "bundle/BundleTrailer.h"
#include "setup/ProductConfig.h"
#include "tools/mkdisks/MkdisksError.h"
#include "tools/mkdisks/ToolFiles.h"

namespace {

std::string UpperName(const std::string& name) {
    std::string upper = name;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// Why the setup program could not list this file name, or the empty text.
std::string ListedNameFault(const std::filesystem::path& fileName) {
    const std::u8string bytes = fileName.u8string();
    const std::string name = Shown(fileName);
    if (std::any_of(bytes.begin(), bytes.end(), [](char8_t c) { return c >= 0x80; })) {
        return Quoted(name) + ": the name is not plain ASCII, so it has no single-byte form that is the same on "
                              "every Windows; rename the file";
    }
    if (name.size() > TrailerNameField) {
        return Quoted(name) + ": the name has " + std::to_string(name.size()) +
               " characters; the file list holds at most 19";
    }
    if (std::string fault = FileNameFault(name); !fault.empty()) return Quoted(name) + ": " + fault;
    return {};
}

std::vector<std::string> ReadManifestLines(const std::filesystem::path& manifest) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(manifest);
    std::vector<std::string> lines;
    std::string line;
    const auto finish = [&] {
        // Editors leave carriage returns and trailing blanks; no listed name may end in a blank.
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
        lines.push_back(line);
        line.clear();
    };
    for (const std::uint8_t b : bytes) {
        if (b == '\n') {
            finish();
        } else {
            line += static_cast<char>(b);
        }
    }
    if (!line.empty()) finish();
    return lines;
}

// The files other than the main program, in the manifest's order; faults are collected.
std::vector<ProductFile> OrderByManifest(std::vector<ProductFile> others, const ProductFile& mainProgram,
                                         const std::filesystem::path& manifest, std::vector<std::string>& faults) {
    std::map<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < others.size(); ++i) byName.emplace(UpperName(others[i].Name), i);
    std::vector<bool> listed(others.size(), false);
    std::vector<ProductFile> ordered;
    bool anyListed = false;

    const std::vector<std::string> lines = ReadManifestLines(manifest);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& name = lines[n];
        if (name.empty()) continue;
        const std::string where = "manifest line " + std::to_string(n + 1) + ": ";
        if (SameFileName(name, mainProgram.Name)) {
            if (anyListed) faults.push_back(where + "the main program " + mainProgram.Name + " always comes first");
            anyListed = true;
            continue;
        }
        anyListed = true;
        const auto found = byName.find(UpperName(name));
        if (found == byName.end()) {
            faults.push_back(where + Quoted(name) + " is not in the product folder");
        } else if (listed[found->second]) {
            faults.push_back(where + Quoted(name) + " is listed twice");
        } else {
            listed[found->second] = true;
            ordered.push_back(others[found->second]);
        }
    }
    for (std::size_t i = 0; i < others.size(); ++i) {
        if (!listed[i]) faults.push_back(Quoted(others[i].Name) + " is in the product folder but not in the manifest");
    }
    return ordered;
}

}  // namespace

std::vector<ProductFile> ScanProductFolder(const std::filesystem::path& folder,
                                           const std::optional<std::filesystem::path>& manifest) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        throw MkdisksError("the product folder " + Shown(folder) + " does not exist or is not a folder");
    }

    std::vector<std::string> faults;
    std::vector<ProductFile> files;
    try {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::filesystem::path fileName = entry.path().filename();
            if (entry.is_directory()) {
                faults.push_back(Quoted(Shown(fileName)) +
                                 " is a subfolder; the setup program installs one folder of files, so move its "
                                 "files up or leave it out");
                continue;
            }
            if (!entry.is_regular_file()) {
                faults.push_back(Quoted(Shown(fileName)) + " is not a plain file");
                continue;
            }
            if (std::string fault = ListedNameFault(fileName); !fault.empty()) {
                faults.push_back(fault);
                continue;
            }
            files.push_back({Shown(fileName), entry.path(), entry.file_size()});
        }
    } catch (const std::filesystem::filesystem_error& failure) {
        throw MkdisksError("cannot list the product folder " + Shown(folder) + ": " + failure.code().message());
    }

    std::sort(files.begin(), files.end(),
              [](const ProductFile& a, const ProductFile& b) { return UpperName(a.Name) < UpperName(b.Name); });
    for (std::size_t i = 1; i < files.size(); ++i) {
        if (SameFileName(files[i - 1].Name, files[i].Name)) {
            faults.push_back(Quoted(files[i - 1].Name) + " and " + Quoted(files[i].Name) +
                             " are the same name for Windows, which ignores case");
        }
    }

    const auto isMain = [](const ProductFile& f) { return SameFileName(f.Name, ProductConfig.ExeFileName); };
    const auto mainAt = std::find_if(files.begin(), files.end(), isMain);
    std::optional<ProductFile> mainProgram;
    std::vector<ProductFile> others;
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (it == mainAt) {
            mainProgram = *it;
        } else {
            others.push_back(*it);
        }
    }
    if (!mainProgram) {
        faults.push_back("the main program " + ProductConfig.ExeFileName + " is missing");
    } else if (mainProgram->Size == 0) {
        faults.push_back("the main program " + mainProgram->Name + " is empty");
    }
    if (others.empty() && faults.empty()) {
        faults.push_back("there is no file besides the main program; the setup program needs at least one");
    }
    if (others.size() > MaxTrailerRecords) {
        faults.push_back("there are " + std::to_string(others.size()) +
                         " files besides the main program; the file list holds at most 255");
    }
    std::uint64_t total = 0;
    for (const ProductFile& f : files) total += f.Size;
    if (total >= BundleSizeLimit) {
        faults.push_back("the files come to " + std::to_string(total) +
                         " bytes; the bundle must stay below 2 GiB (2147483648 bytes)");
    }

    if (manifest && mainProgram) others = OrderByManifest(std::move(others), *mainProgram, *manifest, faults);

    if (!faults.empty()) {
        std::string message = "the product folder " + Shown(folder) + " cannot be bundled:";
        for (const std::string& fault : faults) message += "\n  " + fault;
        throw MkdisksError(message);
    }
    others.insert(others.begin(), *mainProgram);
    return others;
}
