// The switches of tolvane: /F list file, /R parameter file, /O operation,
// /I expansion mode, /Z topmost, /S silent registration; /P server and /X
// result file of the child that registers one server.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvane {

constexpr std::size_t kListPathLimit = 259;
constexpr std::size_t kParameterPathLimit = 779;
constexpr std::size_t kNumberValueLimit = 31;

struct CommandLineValues {
    // A path longer than its limit is kept empty (and flagged): cut, it could
    // name another file, so it is neither read nor written.
    std::string list_file;       // /F
    std::string parameter_file;  // /R
    bool list_file_cut = false;
    bool parameter_file_cut = false;
    long operation = 1;          // /O: 1 registers, anything else unregisters
    int topmost = 0;             // /Z: 1 keeps the main window on top
    bool seen_f = false;
    bool seen_o = false;
    bool seen_r = false;
    bool seen_i = false;
    bool seen_z = false;
    bool seen_s = false;         // /S: registration without any window or message
    // Internal: the child tolvane that registers one server (/P) and writes
    // its result into /X. Empty when absent or cut.
    std::string server_file;     // /P
    std::string result_file;     // /X
    bool seen_x = false;
};

// Parses the command tail (the text after the program name). Paths are
// trimmed of blanks; a switch given twice keeps its last value.
CommandLineValues ParseCommandLine(std::string_view command_tail);

enum class RunMode { kRegistration, kExpansion, kNothing };

// /O with /F registers (even with /I); /I with /R and /F expands; anything
// else does nothing.
RunMode SelectRunMode(const CommandLineValues& values);

inline bool RegistersFiles(long operation) { return operation == 1; }

}  // namespace tolvane
