// The small result a job thread ends with, and the message that reports it.
#pragma once

namespace corvane {

enum JobResult {
    kJobSucceeded = 0,
    kJobNoSlot = 1,        // no free slot (or no dialog object)
    kJobNoDialog = 2,      // the status dialog's window could not be created
    kJobCancelled = 3,
    kJobLockTimeout = 4,   // the slot mutex was not had in time
};

// What the start command made of the job before the loop looks at the flags.
enum class StartOutcome { Pending, Ran, NoSlot, LockTimeout, Skipped };

// One pass of the job loop: true and the result once the job is over.
bool JobLoopFinished(StartOutcome outcome, bool done, bool cancel, int& result);

// String-table id of the message for a result; 0 when none is shown.
unsigned MessageIdForResult(int result);

} // namespace corvane
