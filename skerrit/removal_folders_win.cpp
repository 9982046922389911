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

}  // namespace

bool RemoveEmptyFolders(const char* start) {
    if (start == nullptr) return false;
    bool removed = false;
    std::string folder = WithoutTrailingBackslash(start);
    while (MayRemoveFolder(folder)) {
        if (ListFolder(folder) != Listing::Empty) break;
        removed = RemoveDirectoryA(folder.c_str()) != FALSE;
        if (!removed) break;  // the parent still holds it
        folder = ParentFolderToTry(folder);
    }
    return removed;
}

bool RemoveShortcut(HWND owner, const char* entry) {
    const std::string path = ResolveSpecialFolder(owner, entry);
    if (path.empty() || path.size() >= MAX_PATH || !IsExistingFile(path)) return false;
    const bool deleted = DeleteFileA(path.c_str()) != FALSE;
    RemoveEmptyFolders(FolderOfPath(path).c_str());
    return deleted;
}
