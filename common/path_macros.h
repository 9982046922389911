#pragma once
// Path macros: names in angle brackets ("<Exe>", "<Sys32>", ...) that the
// installer writes into its log and registration list and that stand for
// folders known only on the user's machine. One expansion algorithm serves
// both installer-side programs; each program brings its own macro table.
//
// Portable: no windows.h. The Win32 side (path_macros_win.h) fetches the
// system folders and builds the tables.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The folder values the tables draw from.
struct MacroFolders {
    std::string custom;          // CustomPath of the parameter file
    std::string custom_group;    // custom group name from the installation log
    std::string exe;             // ExePath of the parameter file
    std::string windows;         // GetWindowsDirectoryA, as returned
    std::string win_temp;        // GetTempPathA, as returned
    std::string system;          // GetSystemDirectoryA, as returned
    std::string installer_temp;  // TempDir of the parameter file
};

enum class MacroAction {
    Append,       // append the value
    PassThrough,  // copy the bracketed name as it was written
};

struct MacroEntry {
    std::string name;  // brackets included, compared without regard to case
    MacroAction action = MacroAction::Append;
    std::string value;
    // After appending: drop one backslash that ends the output produced so
    // far (not just the value), unless the output is empty.
    bool drop_trailing_backslash = false;
};

using MacroTable = std::vector<MacroEntry>;

// skerrit: <Custom> <CGroup> <Exe> <Win> <WinTemp> <Sys> <Sys32> <AutoSys>
// <TVTemp>; only <WinTemp> drops a trailing backslash. The special-folder
// names <Desktop>, <SendTo>, <Start>, <StartUp> pass through unchanged so that
// the shortcut removal can still see which shell folder an entry lives in.
MacroTable SkerritMacroTable(const MacroFolders& folders);

// tolvane: as skerrit without <CGroup> and without the special-folder names;
// <Custom>, <Exe>, <Win> and <WinTemp> each drop a trailing backslash.
MacroTable TolvaneMacroTable(const MacroFolders& folders);

// Longest name run collected after "<"; a longer run is copied unchanged.
constexpr std::size_t kMaxMacroNameRun = 62;

// Expands `source` with `table` and returns the whole result. Names outside
// the table expand to nothing; a "<" without a closing ">" drops the rest.
std::string ExpandPathMacros(std::string_view source, const MacroTable& table);

// Buffer form for the fixed-size callers. `out` and `source` may be the same
// buffer. Missing buffers or an empty source leave `out` untouched and count
// as complete. The result is cut to out_size - 1 characters; returns false
// when it was cut, so the caller can refuse to act on a cut path.
bool ExpandPathMacros(char* out, std::size_t out_size, const char* source,
                      const MacroTable& table);
