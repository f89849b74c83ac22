#include "bundle/BundleDirectoryReader.h"

#include <algorithm>
#include <memory>

#include "bundle/BundleDirectoryValidation.h"
#include "setup/CheckedFile.h"
#include "setup/SetupState.h"

TrailerContents ReadTrailer(const std::string& path) {
    SetupState.FileOpenMode = 0;
    CheckedFile file;
    file.Open(path, SetupState.FileOpenMode);

    TrailerContents trailer;
    std::uint8_t word[4];
    file.Seek(file.Size() - 4);
    file.ReadExact(word, sizeof word);
    trailer.Total = LoadLE32(word);

    std::uint8_t count = 0;
    file.Seek(file.Size() - 5);
    file.ReadExact(&count, 1);

    // The size is taken afresh for every seek; a count too large for the file makes this one
    // negative, which the file layer refuses.
    file.Seek(file.Size() - static_cast<std::int64_t>(TrailerSize(count)));
    trailer.Records.reserve(count);
    for (int i = 0; i < count; ++i) {
        TrailerRecord record;
        std::uint8_t name[1 + TrailerNameField];
        file.ReadExact(name, sizeof name);
        record.NameLength = name[0];
        std::copy(name + 1, name + sizeof name, record.NameChars.begin());
        file.ReadExact(word, sizeof word);
        record.Offset = LoadLE32(word);
        file.ReadExact(word, sizeof word);
        record.Size = LoadLE32(word);
        trailer.Records.push_back(record);
    }

    file.Close();
    SetupState.FileOpenMode = 2;
    return trailer;
}

void ReadBundleDirectory(const std::string& path) {
    const TrailerContents trailer = ReadTrailer(path);
    ValidateTrailer(trailer);

    SetupState.BundleTotal = trailer.Total;
    SetupState.BundleDirectory.Release();
    for (const TrailerRecord& record : trailer.Records) {
        auto entry = std::make_unique<BundleEntry>();
        entry->Name = record.Name();
        entry->Offset = record.Offset;
        entry->Size = record.Size;
        SetupState.BundleDirectory.Append(std::move(entry));
    }
}
