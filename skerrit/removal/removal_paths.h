#pragma once
// Path arithmetic of the removal: the folder of a file and the walk upward
// through folders that may have become empty. Portable.

#include <string>
#include <string_view>

// Drive and folder of a path: everything up to and including its last
// backslash; empty when it has none.
std::string FolderOfPath(std::string_view path);

// The folder itself without one trailing backslash.
std::string WithoutTrailingBackslash(std::string_view folder);

// The parent to try after `folder` (no trailing backslash) was removed:
// empty when there is none, or when it would be a drive such as "C:" (3
// characters or fewer), which is never removed.
std::string ParentFolderToTry(std::string_view folder);

// Whether a folder (no trailing backslash) may be removed at all: a drive
// such as "C:" (3 characters or fewer) never is.
bool MayRemoveFolder(std::string_view folder);
