// The parameter file's folders that cannot stand in for their macros: too long
// to be read whole, or empty.
#pragma once

#include <cstddef>
#include <string>

#include "expand_register_list.h"

namespace tolvane {

// A folder value holds this many characters; a longer one is read cut.
constexpr std::size_t kFolderValueLimit = 259;

// The macros (<Custom>, <Exe>, <TVTemp>) whose key in the parameter file
// (CustomPath, ExePath, TempDir) holds more than a folder value can, or
// nothing (a missing key, or no parameter file at all): expanded, "<Exe>\a.dll"
// would become "\a.dll".
CutMacroNames UnusableFolderMacros(const std::string& parameter_file);

}  // namespace tolvane
