// The silent removal (/S): the run a user gets by pressing Continue, Remove,
// and Restart Later, without any window. Shared files are kept.
#pragma once

// Returns the ResultCode: 1 when the removal ran to its end, 2 when there is
// no log to read (nothing is removed then).
long RunSilentRemoval();
