// Moving the run to a temporary copy so the installed executable can be
// removed like any other file.
#pragma once

#include <windows.h>

// Copies the executable to <temp>\skerXXXX.exe and starts the copy with the
// same command line plus /X, which tells the copy what it is (whatever its
// path looks like), and the temporary folder as working folder. False when the
// copy failed (the run goes on here).
bool RelaunchFromTemp(const char* executable_path, const char* command_tail);

// The silent form: the launcher waits for the copy, so that whoever started
// it learns the copy's exit status from this process. The status comes
// through a result file the copy writes (/X names it); a copy that ended
// without writing one failed. The wait happens in the temporary folder: a
// current folder inside the installation would keep it from being removed.
// Afterwards the copy is deleted, or left to the next restart when it cannot
// be. False (the run goes on here) when no copy could be made or started.
bool RelaunchFromTempAndWait(const char* executable_path, const char* command_tail, DWORD& copy_exit_status);
