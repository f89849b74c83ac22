// Path helpers over ANSI Windows paths. Only the backslash and the colon separate; the POSIX build
// uses the same rules so that every caller behaves alike on both builds.
#pragma once

#include <string>

// dir and name with exactly one backslash between them; an empty dir gives name alone.
std::string JoinPath(const std::string& dir, const std::string& name);
// The path up to and including its last backslash or colon; empty when it has neither.
std::string DirectoryOf(const std::string& path);
// name with its extension (from the last dot after the last backslash or colon) replaced by ext.
std::string WithExtension(const std::string& name, const std::string& ext);
// The extension of name, dot included, at most 255 characters; empty when it has none.
std::string ExtensionOf(const std::string& name);
// True when there is a file, not a directory, at path.
bool IsExistingFile(const std::string& path);
// ExtensionOf upper-cased, letters a to z only.
std::string UpperExtensionOf(const std::string& name);
