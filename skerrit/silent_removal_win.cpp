#include "skerrit/silent_removal_win.h"

#include "skerrit/run_removal_win.h"
#include "skerrit/run_state_win.h"
#include "skerrit/startup/parent_process_win.h"

long RunSilentRemoval() {
    RunSettings& settings = Settings();
    if (!settings.seen.L || !LoadRunLog(nullptr)) return kResultNothingDone;
    settings.removal_started = true;
    RemovalJob job = MakeRunRemovalJob();
    // No shared-file question: a file other programs may use is never
    // deleted without one.
    job.confirm_shared = nullptr;
    job.launcher_exe = ParentProcessImage();
    RunRemovalJob(job);
    settings.restart_requested = false;
    // Only a quit message reaching the drained queue stops a silent removal.
    return settings.cancel_requested ? kResultNothingDone : kResultDone;
}
