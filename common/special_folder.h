#pragma once
// Special-folder names in shortcut entries ("<Desktop>\App.lnk"): they select
// a shell folder that replaces the entry's first path component. Portable.

#include <string>
#include <string_view>

enum class SpecialFolder { Desktop, SendTo, StartMenu, Startup, Programs };

// The first of <Desktop>, <SendTo>, <Start>, <StartUp> found anywhere in the
// entry (exact case) decides; none selects the Start menu's Programs folder.
SpecialFolder FindSpecialFolder(std::string_view entry);

// The folder, a backslash, then the entry after its first backslash (when a
// special name was found) or the whole entry (Programs). Empty when a special
// name was found but the entry has nothing after a backslash: such an entry
// would name the shell folder itself.
std::string ComposeSpecialFolderPath(std::string_view folder, std::string_view entry,
                                     SpecialFolder selected);
