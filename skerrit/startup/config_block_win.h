// Finding the configuration block in skerrit's own executable file.
#pragma once

#include <windows.h>

#include <memory>

#include "skerrit/startup/config_block.h"

// Offset of the first occurrence of `text` at or after `start` in an open
// file, or -1. With `fold_case` both sides are lowered with the system's
// mapping.
long FindInFile(HANDLE file, long start, const char* text, bool fold_case);

// Reads the block that follows the second occurrence of the marker (the first
// is the program's own search key). Null when the file cannot be read, the
// marker occurs fewer than two times, or the stored length is below the
// records' size or beyond the file.
std::unique_ptr<ConfigBlock> LocateConfigBlock(const char* executable_path);
