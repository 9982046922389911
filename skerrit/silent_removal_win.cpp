#include "skerrit/silent_removal_win.h"

#include "skerrit/run_removal_win.h"
#include "skerrit/run_state_win.h"
#include "skerrit/startup/parent_process_win.h"

long RunSilentRemoval() {
    RunSettings& settings = Settings();
    settings.result_code = kResultNothingDone;
    if (!settings.seen.L || !LoadRunLog(nullptr)) return kExitFailed;
    settings.removal_started = true;
    RemovalJob job = MakeRunRemovalJob();
    // No shared-file question: a file other programs may use is never
    // deleted without one.
    job.confirm_shared = nullptr;
    job.launcher_exe = ParentProcessImage();
    // A launcher that waits for this copy deletes it once it ended.
    job.schedule_running_exe = settings.result_file.empty();
    const RemovalOutcome outcome = RunRemovalJob(job);
    settings.restart_requested = false;
    // Only a quit message reaching the drained queue stops a silent removal.
    if (settings.cancel_requested) return kExitFailed;
    settings.result_code = kResultDone;
    if (outcome.files_left) return kExitFailed;
    return outcome.restart_needed ? kExitRestartNeeded : kExitSuccess;
}
