// Expansion mode: every list value is rewritten with its path macros resolved.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/path_macros.h"
#include "register_list.h"

namespace tolvane {

using ListValueWriter = std::function<void(const std::string& key, const std::string& value)>;

// Macro names, brackets included, whose folder was too long to be read whole.
using CutMacroNames = std::vector<std::string>;

// Rewrites REG1, REG2, ... up to the first missing or empty key, also values
// without macros. A value that is, or would expand to, more than the list
// value limit is left as it stands (written cut it would name another file),
// and so is one that expands to nothing (written empty it would end the list
// there). A value naming one of `cut_macros` (in any case) is left as it
// stands too: expanded, it would point into a cut folder. Returns
// kResultDone when at least one key was read, else kResultFailed (the file is
// then untouched).
long ExpandRegisterList(const ListValueReader& read, const ListValueWriter& write,
                        const MacroTable& table, const CutMacroNames& cut_macros = {});

}  // namespace tolvane
