#include "tests/e2e/driver/TrailerEdit.h"

#include <algorithm>

#include "bundle/BundleTrailer.h"
#include "tests/e2e/driver/StepFailure.h"

namespace {

void RequireTail(const std::vector<std::uint8_t>& file) {
    if (file.size() < TrailerTailSize) throw StepFailure("the file is too short for a trailer");
}

// Where the record of entry lies in file.
std::size_t RecordAt(const std::vector<std::uint8_t>& file, long entry) {
    const std::size_t count = TrailerCount(file);
    if (entry < 1 || static_cast<std::size_t>(entry) > count) {
        throw StepFailure("the trailer has entries 1 to " + std::to_string(count) + ", not " + std::to_string(entry));
    }
    if (file.size() < TrailerSize(count)) throw StepFailure("the file is too short for its trailer's records");
    return file.size() - TrailerSize(count) + TrailerRecordSize * static_cast<std::size_t>(entry - 1);
}

std::size_t FieldAt(TrailerField field) { return field == TrailerField::Offset ? TrailerOffsetField : TrailerSizeField; }

}  // namespace

std::size_t TrailerCount(const std::vector<std::uint8_t>& file) {
    RequireTail(file);
    return file[file.size() - TrailerTailSize];
}

void SetTrailerName(std::vector<std::uint8_t>& file, long entry, const std::string& name) {
    if (name.size() > TrailerNameField) throw StepFailure("a name field holds at most 19 characters");
    const std::size_t record = RecordAt(file, entry);
    file[record] = static_cast<std::uint8_t>(name.size());
    std::fill(file.begin() + record + 1, file.begin() + record + 1 + TrailerNameField, 0);
    std::copy(name.begin(), name.end(), file.begin() + record + 1);
}

void SetTrailerNameLength(std::vector<std::uint8_t>& file, long entry, long length) {
    if (length < 0 || length > 255) throw StepFailure("a name length is one byte, 0 to 255");
    file[RecordAt(file, entry)] = static_cast<std::uint8_t>(length);
}

std::int32_t TrailerFieldValue(const std::vector<std::uint8_t>& file, long entry, TrailerField field) {
    return LoadLE32(file.data() + RecordAt(file, entry) + FieldAt(field));
}

void SetTrailerField(std::vector<std::uint8_t>& file, long entry, TrailerField field, long long value) {
    if (value < INT32_MIN || value > INT32_MAX) throw StepFailure(std::to_string(value) + " does not fit 32 bits");
    StoreLE32(file.data() + RecordAt(file, entry) + FieldAt(field), static_cast<std::int32_t>(value));
}

void SetTrailerCount(std::vector<std::uint8_t>& file, long count) {
    RequireTail(file);
    if (count < 0 || count > 255) throw StepFailure("the record count is one byte, 0 to 255");
    file[file.size() - TrailerTailSize] = static_cast<std::uint8_t>(count);
}

void RemoveTrailer(std::vector<std::uint8_t>& file) {
    const std::size_t size = TrailerSize(TrailerCount(file));
    if (file.size() < size) throw StepFailure("the file is too short for its trailer's records");
    file.resize(file.size() - size);
}
