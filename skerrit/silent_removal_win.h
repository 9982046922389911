// The silent removal (/S): the run a user gets by pressing Continue, Remove,
// and Restart Later, without any window. Shared files are kept.
#pragma once

// Sets the ResultCode (1 when the removal ran to its end, 2 when there is no
// log to read: nothing is removed then) and returns the exit status:
// kExitSuccess, kExitRestartNeeded when a listed file was open elsewhere and
// goes at the next restart, kExitFailed without a log or when a listed file
// stays (refused, or in use and not schedulable).
long RunSilentRemoval();
