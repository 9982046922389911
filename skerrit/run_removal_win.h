// What the dialog sequence and the silent run share: reading the run's log
// into its removal lists, and the removal job over those lists.
#pragma once

#include <windows.h>

#include "skerrit/removal/removal_engine_win.h"

// Reads the log of /L into the run's lists (and into the review list when
// one is given), its group name into the settings. False when there is no
// log to read: none given, a cut path (it would name another file), one that
// is not a fully qualified plain path, or one that cannot be opened.
bool LoadRunLog(HWND review_list);

// The removal of the run's lists: the log deleted at the end, the running
// executable scheduled for deletion at restart, the uninstall entry removed.
// Writes ExitCode 2 into the parameter file first: a run that dies while
// removing leaves no earlier success behind.
// The caller adds what its windows do (progress line, shared-file question).
RemovalJob MakeRunRemovalJob();
