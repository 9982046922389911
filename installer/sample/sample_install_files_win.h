#pragma once
// File and registry effects of the sample installation.

#include <string>

// Creates the folder and every missing folder above it.
bool MakeFolderPath(const std::string& folder);
// Writes `content` as the whole file, replacing an old one.
bool WriteWholeFile(const std::string& path, const std::string& content);
// Adds one to the file's count under the shared-files key (a new value starts
// at 1). Returns the new count, 0 on failure.
unsigned long AddSharedFileCount(const std::string& path);
// The file's count under the shared-files key; 0 when it is not listed.
unsigned long SharedFileCount(const std::string& path);
