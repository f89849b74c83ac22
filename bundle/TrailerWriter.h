// Writing a directory trailer (layout in bundle/BundleTrailer.h), for the disk-building tool and
// the test fixtures. Records are written as given, faults included.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bundle/BundleTrailer.h"

// The trailer's bytes: the records in order, the count, the total. At most 255 records.
std::vector<std::uint8_t> TrailerBytes(const TrailerContents& trailer);

// Appends the trailer to the end of the existing file at path through the checked file layer.
void AppendTrailer(const std::string& path, const TrailerContents& trailer);
