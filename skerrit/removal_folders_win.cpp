#include "skerrit/removal_folders_win.h"

#include <cstring>
#include <string>

#include "common/special_folder_win.h"
#include "skerrit/removal_paths.h"
#include "skerrit/scoped_handles_win.h"

namespace {

enum class Listing { Empty, NotEmpty, Unreadable };

Listing ListFolder(const std::string& folder) {
    const std::string pattern = FolderListPattern(folder);
    if (pattern.size() >= MAX_PATH) return Listing::Unreadable;
    WIN32_FIND_DATAA data;
    ScopedFind find(pattern.c_str(), data);
    if (!find.ok()) return Listing::Unreadable;
    do {
        if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0)
            return Listing::NotEmpty;
    } while (FindNextFileA(find.get(), &data));
    return Listing::Empty;
}

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

bool RemoveEmptyFolders(const char* start, const char* boundary) {
    if (start == nullptr) return false;
    const std::string limit = boundary != nullptr ? WithoutTrailingBackslash(boundary) : "";
    bool removed = false;
    std::string folder = WithoutTrailingBackslash(start);
    while (MayRemoveFolder(folder) && (boundary == nullptr || IsInside(folder, limit))) {
        if (ListFolder(folder) != Listing::Empty) break;
        removed = RemoveDirectoryA(folder.c_str()) != FALSE;
        if (!removed) break;  // the parent still holds it
        folder = ParentFolderToTry(folder);
    }
    return removed;
}

bool RemoveShortcut(HWND owner, const char* entry) {
    std::string shell_folder;
    const std::string path = ResolveSpecialFolder(owner, entry, &shell_folder);
    if (path.empty() || path.size() >= MAX_PATH || !IsExistingFile(path)) return false;
    const bool deleted = DeleteFileA(path.c_str()) != FALSE;
    RemoveEmptyFolders(FolderOfPath(path).c_str(), shell_folder.c_str());
    return deleted;
}
