// Expansion mode: every list value is rewritten with its path macros resolved.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/path_macros.h"
#include "register_list.h"

namespace tolvane {

// Writes one value back; false when it could not be written.
using ListValueWriter = std::function<bool(const std::string& key, const std::string& value)>;

// Macro names, brackets included, whose folder was too long to be read whole.
using CutMacroNames = std::vector<std::string>;

// Rewrites REG1, REG2, ... up to the first missing or empty key, also values
// without macros. A value that is, or would expand to, more than the list
// value limit is left as it stands (written cut it would name another file),
// and so is one that expands to nothing or to blanks only (written, it would
// end the list there). A value naming one of `unusable_macros` (in any case)
// is left as it stands too: expanded, it would point into a cut or empty
// folder. Returns kResultDone when at least one value was written back and
// every write succeeded, else kResultFailed.
long ExpandRegisterList(const ListValueReader& read, const ListValueWriter& write,
                        const MacroTable& table, const CutMacroNames& unusable_macros = {});

}  // namespace tolvane
