#include "skerrit/removal/removal_folders_win.h"

#include "common/special_folder_win.h"
#include "skerrit/removal/removal_paths.h"

namespace {

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// True when `folder` lies below `boundary` (no trailing backslashes).
bool IsInside(const std::string& folder, const std::string& boundary) {
    return folder.size() > boundary.size() + 1 && folder[boundary.size()] == '\\' &&
           lstrcmpiA(folder.substr(0, boundary.size()).c_str(), boundary.c_str()) == 0;
}

}  // namespace

bool RemoveEmptyFolders(const char* start, const ProtectedFolders& protected_folders,
                        const char* boundary) {
    PathNames names;
    return RemoveEmptyFolders(start, protected_folders, names, boundary);
}

bool RemoveEmptyFolders(const char* start, const ProtectedFolders& protected_folders, PathNames& names,
                        const char* boundary) {
    if (start == nullptr || names.Folder(start).through_link) return false;
    const std::string limit = boundary != nullptr ? WithoutTrailingBackslash(boundary) : "";
    bool removed = false;
    std::string folder = WithoutTrailingBackslash(start);
    while (MayRemoveFolder(folder) && (boundary == nullptr || IsInside(folder, limit))) {
        // The system refuses to remove a folder that holds anything, and
        // asking it costs far less than listing a large folder after every
        // file. A link to another folder is left alone: removing it would not
        // depend on whether its target is empty.
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            break;
        // Everything above a protected folder holds it, so the walk ends here.
        if (protected_folders.Contains(folder, names)) break;
        removed = RemoveDirectoryA(folder.c_str()) != FALSE;
        if (!removed) break;  // not empty, or in use: its parent is not empty either
        folder = ParentFolderToTry(folder);
    }
    return removed;
}

ShortcutLocation LocateShortcut(HWND owner, const char* entry) {
    ShortcutLocation location;
    location.path = ResolveSpecialFolder(owner, entry, &location.shell_folder);
    return location;
}

bool RemoveShortcut(const ShortcutLocation& location, const ProtectedFolders& protected_folders,
                    PathNames& names) {
    const std::string& path = location.path;
    if (path.empty() || path.size() > kMaxRemovalPathLength || !IsExistingFile(path)) return false;
    const bool deleted = DeleteFileA(path.c_str()) != FALSE;
    RemoveEmptyFolders(FolderOfPath(path).c_str(), protected_folders, names, location.shell_folder.c_str());
    return deleted;
}
