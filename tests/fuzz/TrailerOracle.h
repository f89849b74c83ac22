// The rules a setup program's file list must keep before anything is written from it, worked out
// a second time and apart from the reader and its validation, so that the harnesses can judge
// what those accept and refuse.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "bundle/BundleDirectory.h"
#include "bundle/BundleTrailer.h"

// The trailer at the end of a setup file's bytes, or nothing when the file is too short for it.
std::optional<TrailerContents> ParseTrailerBytes(std::span<const std::uint8_t> file);

// Why Windows would not create a file of this name in the folder it is joined to, or the empty
// text when it would: a separator, a drive or stream colon, a character it refuses, a trailing
// dot or space it drops, or a device name (which Windows opens in any folder).
std::string WindowsNameProblem(const std::string& name);

// Why the trailer must be refused, or the empty text when it is sound.
std::string TrailerProblem(const TrailerContents& trailer);

// Why the list and total in memory are not what the sound trailer says, or the empty text.
std::string ListMismatch(const TrailerContents& trailer, const BundleDirectoryList& list, std::int32_t total);

// ".HLP" for "readme.hlp": the text from the name's last dot on, ASCII letters upper-cased.
std::string UpperExtension(const std::string& name);
