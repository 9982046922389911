// File-type filters written the forms way, "Text|*.txt|All|*.*", turned into
// the list of NUL-terminated pairs the system's Open dialog expects.
#pragma once

#include <string>

namespace forms {

// Each '|' becomes a NUL and the result ends in two NULs. An empty filter
// gives an empty string (no filter at all).
std::string OpenDialogFilter(const std::string& barSeparated);

}  // namespace forms
