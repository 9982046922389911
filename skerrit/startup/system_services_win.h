// Machine services of the uninstaller: the running executable's path,
// copying a file to a path whose folders may not exist yet, and the privilege
// a restart needs.
#pragma once

#include <string>

// The running executable's full path; empty when it did not fit MAX_PATH (a
// cut path is never copied, registered, searched or scheduled for deletion).
std::string RunningExecutablePath();

// Creates every missing folder of the target (upper first), then copies.
// Changes the process's current folder while probing.
bool CopyFileToPath(const char* source, const char* target, bool fail_if_exists);

// True when the machine may be restarted: always on the 9x family; on NT
// when SeShutdownPrivilege could be enabled for this process.
bool EnableShutdownPrivilege();
