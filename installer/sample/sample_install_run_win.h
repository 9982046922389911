#pragma once
// Starts the installer side's helper programs and waits for them, as the
// installer does.

#include <string>

// Runs `exe` with the command-line text `arguments` and waits for it to end.
// False when it could not be started.
bool RunAndWait(const std::string& exe, const std::string& arguments, const std::string& work_folder,
                unsigned long* exit_code);
