// Machine services of the uninstaller: copying a file to a path whose folders
// may not exist yet, and the privilege a restart needs.
#pragma once

// Creates every missing folder of the target (upper first), then copies.
// Changes the process's current folder while probing.
bool CopyFileToPath(const char* source, const char* target, bool fail_if_exists);

// True when the machine may be restarted: always on the 9x family; on NT
// when SeShutdownPrivilege could be enabled for this process.
bool EnableShutdownPrivilege();
