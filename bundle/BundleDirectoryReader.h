// Reading the directory trailer of the setup program (layout in bundle/BundleTrailer.h).
#pragma once

#include <string>

#include "bundle/BundleTrailer.h"

// The trailer of the file at path, taken as it lies, through the checked file layer: the file is
// opened read-only (FileOpenMode 0), since a running program's own file cannot be opened for
// writing, and FileOpenMode is 2 again once it is closed. A file too short for its trailer raises
// EInOutError from a seek (negative position) or an exact read ("Read beyond end of file").
TrailerContents ReadTrailer(const std::string& path);

// Reads the trailer of the setup program at path, refuses a damaged one with EDamagedFileList,
// and keeps the file list, in trailer order, and the total in SetupState.
void ReadBundleDirectory(const std::string& path);
