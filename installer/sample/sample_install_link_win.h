#pragma once
// Shell links (.lnk files) as an installer creates them.

#include <string>

// Writes a shortcut at `link_path` that starts `target` in `work_folder`.
// COM must be initialised on the calling thread.
bool CreateShortcutFile(const std::string& link_path, const std::string& target,
                        const std::string& work_folder, const std::string& description);
