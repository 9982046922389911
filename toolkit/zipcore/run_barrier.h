// No C++ exception leaves the engine's entry points: a host process (and every other job it
// runs) must outlive one run that ran out of memory or could not start a thread.
#pragma once

#include <string>

#include "toolkit/zipcore/run_events.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

// Called from a catch (...) block: reports the exception being handled (message 9 for a
// resource that ran out, 3 for anything else) and gives the run's result, TooLarge or
// ArchiveDamaged.
ZipResult resultOfException(RunEvents& events, const std::string& archivePath) noexcept;

}  // namespace zipcore
