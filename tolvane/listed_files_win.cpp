#include "listed_files_win.h"

#include <windows.h>

#include <algorithm>

#include "common/param_file_win.h"
#include "list_file_win.h"
#include "register_file_win.h"
#include "register_list.h"
#include "run_settings_win.h"

namespace tolvane {

namespace {

// The value as a full path against the current folder at start: registering
// changes into each server's folder, and a bare name would otherwise be looked
// for on the DLL search path instead of being the file that was checked. Empty
// when the full path does not fit a path buffer.
std::string FullPathOf(const std::string& value) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(value.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(full, length);
}

// The sorted list box's comparison.
bool ListsBefore(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }

}  // namespace

std::vector<std::string> CollectListedFiles(const std::string& list_file,
                                            const std::function<void(const std::string& value)>& on_missing) {
    std::vector<std::string> files;
    WalkRegisterList(
        [&](const std::string& key) { return ReadListFileValue(list_file, key); },
        [&](const ListValue& value) {
            // A cut path may name another file: it is reported, never listed.
            const std::string full = value.cut ? std::string() : FullPathOf(value.text);
            if (full.empty() || GetFileAttributesA(full.c_str()) == INVALID_FILE_ATTRIBUTES) {
                on_missing(value.text);
                return;
            }
            const auto at = std::lower_bound(files.begin(), files.end(), full, ListsBefore);
            if (at != files.end() && lstrcmpiA(at->c_str(), full.c_str()) == 0) return;
            files.insert(at, full);
        });
    return files;
}

int ProcessListedFiles(const std::vector<std::string>& files, bool do_register) {
    for (std::size_t index = 0; index < files.size(); ++index) {
        if (!RegisterListedFile(files[index], do_register)) return static_cast<int>(index);
    }
    return -1;
}

long RunSilentRegistration() {
    const CommandLineValues& command = Settings().command;
    // A Unicode list would be read as garbled code-page text.
    if (ListFileIsUnicode(command.list_file)) return kResultFailed;
    const std::vector<std::string> files = CollectListedFiles(command.list_file, [](const std::string&) {});
    if (files.empty()) return kResultFailed;
    // As in the dialog run: a server that takes the process down must not
    // leave an earlier run's result behind.
    if (!command.parameter_file.empty()) WriteExitCode(command.parameter_file, kResultFailed);
    return ProcessListedFiles(files, RegistersFiles(command.operation)) < 0 ? kResultDone : kResultFailed;
}

}  // namespace tolvane
