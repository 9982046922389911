#pragma once
// Deletion (or renaming) of a file at the next restart: MoveFileExA on the
// Windows NT platform, wininit.ini on Windows 9x.

// `new_path` empty or null: delete `existing_path` at restart.
bool ScheduleDeleteAtRestart(const char* existing_path, const char* new_path);
