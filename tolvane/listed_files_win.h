// The files a registration run works through, shared by the confirmation
// dialog and the silent run.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tolvane {

// Every existing file of the registration list once (full paths, duplicates
// by whole path without regard to case dropped), in the order of the
// dialog's sorted list. `on_missing` hears of each value that names no
// file, or is too long to act on, in key order.
std::vector<std::string> CollectListedFiles(const std::string& list_file,
                                            const std::function<void(const std::string& value)>& on_missing);

// Registers or unregisters `files` in order; stops at the first failure and
// returns its index, or -1 when every file succeeded.
int ProcessListedFiles(const std::vector<std::string>& files, bool do_register);

// The silent run (/S with /O and /F): no dialog and no message; missing files
// are skipped. Returns the ResultCode: 1 every listed file processed, 3 a
// failure or nothing to list.
long RunSilentRegistration();

}  // namespace tolvane
