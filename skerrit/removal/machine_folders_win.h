#pragma once
// The folders of this machine that a removal must tell apart from an
// installation's own: every profile's shell folders, the profiles folder, the
// machine's Windows, system, program and common-files folders.

#include <string>
#include <vector>

// Folders never removed by a walk upward, whoever's profile they are in.
// Other users' redirected folders live in hives that are not loaded: their
// default names (and the localised ones this user's profile shows) stand in.
std::vector<std::string> ProtectedFolderPaths();

// Folders whose files are shared by the system and other programs even when
// no shared-files value names them: the Windows folder, the system folders
// and both Common Files folders.
std::vector<std::string> SystemSharedFolders();
// The Windows folder's Temp folder: below the Windows folder, not shared.
std::string WindowsTempFolder();
