// Edits of the directory trailer at the end of a setup program's bytes (layout in
// bundle/BundleTrailer.h), for scenarios that hand the setup program a damaged or tampered file
// list. Each edit changes only the bytes it names; the others stay as the disk tool wrote them.
// Entries are counted from 1, as the setup program's reports count them. Every function fails the
// step (StepFailure) when the file has no such entry or the value does not fit its field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class TrailerField { Offset, Size };

// The record count that the trailer's count byte gives.
std::size_t TrailerCount(const std::vector<std::uint8_t>& file);

// Sets the name length and the characters; the rest of the 19-character field becomes zeros.
void SetTrailerName(std::vector<std::uint8_t>& file, long entry, const std::string& name);
// Sets only the length byte (0 to 255), so that it may claim more than the field holds.
void SetTrailerNameLength(std::vector<std::uint8_t>& file, long entry, long length);
std::int32_t TrailerFieldValue(const std::vector<std::uint8_t>& file, long entry, TrailerField field);
void SetTrailerField(std::vector<std::uint8_t>& file, long entry, TrailerField field, long long value);
// Sets only the count byte (0 to 255): the records stay where they are.
void SetTrailerCount(std::vector<std::uint8_t>& file, long count);
// Cuts the whole trailer off, as if the disk tool had never appended one.
void RemoveTrailer(std::vector<std::uint8_t>& file);
