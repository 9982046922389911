#pragma once
// Fills the system folders of MacroFolders (Windows, temporary, system);
// the caller sets the parameter-file folders and the custom group name.

#include "common/path_macros.h"

void FetchSystemMacroFolders(MacroFolders& folders);
