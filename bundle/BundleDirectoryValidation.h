// Checks of a bundle directory before anything is written from it. The setup program writes every
// listed name into the destination and cuts the bundle at the listed positions, so a damaged or
// tampered trailer must not name a path outside the destination, a device, or bytes past the
// bundle's end.
#pragma once

#include <string>

#include "bundle/BundleTrailer.h"

// Why name cannot be a plain file name on Windows (empty, "." or "..", a separator, a drive
// colon, a character Windows refuses, a trailing dot or space, a device name), or the empty text
// when it can. The length is not checked here.
std::string FileNameFault(const std::string& name);

// True when the two names are the same for Windows, which ignores the case of letters.
bool SameFileName(const std::string& a, const std::string& b);

// name as it can be shown: control characters appear as \xNN.
std::string PrintableName(const std::string& name);

// The first fault of the trailer, naming the entry by its position (from 1) and its name, or the
// empty text when the trailer is sound. Entries may overlap or come in any order.
std::string TrailerFault(const TrailerContents& trailer);

// Raises EDamagedFileList with the trailer's first fault.
void ValidateTrailer(const TrailerContents& trailer);
