// Moving the run to a temporary copy so the installed executable can be
// removed like any other file.
#pragma once

// Copies the executable to <temp>\skerXXXX.exe and starts the copy with the
// same command line and the temporary folder as working folder. False when
// the run already is such a copy or the copy failed (the run goes on here).
bool RelaunchFromTemp(const char* executable_path, const char* command_tail);
