#include "corvane/job_result.h"

#include "corvane/resource.h"

namespace corvane {

bool JobLoopFinished(StartOutcome outcome, bool done, bool cancel, int& result)
{
    if (done) {
        switch (outcome) {
        case StartOutcome::NoSlot: result = kJobNoSlot; break;
        case StartOutcome::LockTimeout: result = kJobLockTimeout; break;
        default: result = cancel ? kJobCancelled : kJobSucceeded; break;
        }
        return true;
    }
    if (cancel) {
        result = kJobCancelled;
        return true;
    }
    return false;
}

unsigned MessageIdForResult(int result)
{
    switch (result) {
    case kJobNoSlot: return IDS_NO_MORE_THREADS;
    case kJobNoDialog: return IDS_NO_STATUS_DIALOG;
    case kJobLockTimeout: return IDS_THREAD_TIMEOUT;
    default: return 0;
    }
}

} // namespace corvane
