// ResultCode values, written to the parameter file as ExitCode.
#pragma once

namespace tolvane {

constexpr long kResultDone = 1;         // every file processed / list rewritten
constexpr long kResultNothingDone = 2;  // cancelled, closed, or no mode named
constexpr long kResultFailed = 3;       // a file failed, nothing listed, no REG1

}  // namespace tolvane
