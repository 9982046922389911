#include "skerrit/removal/shared_files_win.h"

#include <windows.h>

#include "common/scoped_handles_win.h"
#include "skerrit/removal/machine_folders_win.h"

namespace {

const char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr DWORD kNameRoom = 780;

// Calls `visit` with each value name. A name too long for the buffer cannot
// be a path of ours; it is passed over rather than ending the walk, so the
// names after it still count.
template <typename Visit>
void ForEachSharedName(Visit visit) {
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, KEY_QUERY_VALUE, key.out()) !=
        ERROR_SUCCESS)
        return;
    char name[kNameRoom];
    for (DWORD index = 0;; ++index) {
        DWORD length = kNameRoom;
        const LONG result =
            RegEnumValueA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) return;
        visit(name);
    }
}

}  // namespace

SharedFiles SharedFiles::Load(PathNames& names) {
    SharedFiles shared;
    ForEachSharedName([&](const char* name) {
        if (name[0] != '\0') shared.keys_.insert(names.FileKey(name));
    });
    for (const std::string& folder : SystemSharedFolders()) shared.folders_.push_back(names.Folder(folder).key);
    const std::string temp = WindowsTempFolder();
    if (!temp.empty()) shared.windows_temp_ = names.Folder(temp).key;
    return shared;
}

bool SharedFiles::Contains(const std::string& path, PathNames& names) const {
    const std::string key = names.FileKey(path);
    if (keys_.count(key) > 0) return true;
    if (!windows_temp_.empty() && IsKeyBelow(key, windows_temp_)) return false;
    for (const std::string& folder : folders_)
        if (IsKeyBelow(key, folder)) return true;
    return false;
}

bool IsSharedFile(const char* path) {
    if (path == nullptr) return false;
    PathNames names;
    return SharedFiles::Load(names).Contains(path, names);
}
