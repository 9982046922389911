// ResultCode values, written to the parameter file as ExitCode.
#pragma once

namespace tolvane {

constexpr long kResultDone = 1;         // every file processed / list rewritten
constexpr long kResultNothingDone = 2;  // cancelled, closed, or no mode named
constexpr long kResultFailed = 3;       // a file failed, nothing listed, no REG1

// Exit status of a silent registration (/S), as deployment tools read it (the
// Windows Installer's conventions): 0 every file processed, 1603
// (ERROR_INSTALL_FAILURE) otherwise.
constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1603;
inline int SilentExitStatus(long result_code) { return result_code == kResultDone ? kExitSuccess : kExitFailed; }

}  // namespace tolvane
