#pragma once
// Path arithmetic of the removal: which log paths may be acted on, the folder
// of a file and the walk upward through folders that may have become empty.
// Portable.

#include <cstddef>
#include <string>
#include <string_view>

// Longest path the removal acts on (MAX_PATH - 1).
constexpr std::size_t kMaxRemovalPathLength = 259;

// A path the removal may list and delete: "X:\..." or "\\server\share\...",
// at most kMaxRemovalPathLength characters, every component a plain name.
// Anything the system would resolve against the current folder or rewrite
// (relative, drive-relative, rooted without a drive, "." or ".." components,
// forward slashes, doubled backslashes, names ending in a dot or blank,
// streams, wildcards, device namespaces, control characters) is refused: it
// could name a file the installation never put there.
bool IsFullyQualifiedPath(std::string_view path);

// A shortcut's group or name as the log gives it: empty, or plain names
// separated by single backslashes (one trailing backslash allowed), with no
// leading backslash, no colon and no "." or ".." component. A component may
// hold a shell-folder name such as "<Desktop>".
bool IsPlainShortcutPart(std::string_view part);

// The drive form of a path the system names in other ways too: "\\?\C:\x"
// and "\\.\C:\x" become "C:\x", "\\?\UNC\srv\share" becomes
// "\\srv\share", and an administrative share of this machine
// ("\\localhost\C$\x", "\\127.0.0.1\c$\x", "\\<computer>\C$\x") becomes
// "C:\x". Anything else comes back as it is.
std::string LocalFormOfPath(std::string_view path, std::string_view computer_name);

// Drive and folder of a path: everything up to and including its last
// backslash; empty when it has none.
std::string FolderOfPath(std::string_view path);

// The folder itself without one trailing backslash.
std::string WithoutTrailingBackslash(std::string_view folder);

// The parent to try after `folder` (no trailing backslash) was removed:
// empty when there is none, or when it may not be removed (see below).
std::string ParentFolderToTry(std::string_view folder);

// Whether a folder (no trailing backslash) may be removed at all: a drive
// such as "C:" (3 characters or fewer) never is, nor a network share's root
// ("\\server\share") or anything above it.
bool MayRemoveFolder(std::string_view folder);
