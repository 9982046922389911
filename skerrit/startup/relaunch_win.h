// Moving the run to a temporary copy so the installed executable can be
// removed like any other file.
#pragma once

#include <windows.h>

// Copies the executable to <temp>\skerXXXX.exe and starts the copy with the
// same command line and the temporary folder as working folder. False when
// the run already is such a copy or the copy failed (the run goes on here).
bool RelaunchFromTemp(const char* executable_path, const char* command_tail);

// The silent form: no shell message on failure, and the caller waits for the
// copy, so that whoever started this run learns the copy's result from this
// process's exit code. The wait happens in the temporary folder: a current
// folder inside the installation would keep it from being removed.
// False (the run goes on here) when no copy could be made or started.
bool RelaunchFromTempAndWait(const char* executable_path, const char* command_tail, DWORD& copy_exit_code);
