#include "skerrit/removal/shared_files_win.h"

#include <windows.h>

#include "common/lead_bytes.h"
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
        const std::string path = name;
        const std::size_t slash = LastSeparator(path);
        // A name without a folder never names a file the removal acts on.
        if (slash == std::string::npos) return;
        const std::string folder = names.Folder(path.substr(0, slash)).key + "\\";
        // Values of one folder mostly come in a row.
        if (shared.registered_folders_.empty() || shared.registered_folders_.back() != folder)
            shared.registered_folders_.push_back(folder);
        shared.keys_.insert(folder + FileNameKey(path));
    });
    for (const std::string& folder : SystemSharedFolders()) shared.folders_.push_back(names.Folder(folder).key);
    const std::string temp = WindowsTempFolder();
    if (!temp.empty()) shared.windows_temp_ = names.Folder(temp).key;
    return shared;
}

// Whether the files of the folder whose key (with a trailing backslash) is
// given lie below a shared folder.
bool SharedFiles::FolderShared(const std::string& folder_key) const {
    const std::string probe = folder_key + "x";  // a file key in that folder
    if (!windows_temp_.empty() && IsKeyBelow(probe, windows_temp_)) return false;
    for (const std::string& folder : folders_)
        if (IsKeyBelow(probe, folder)) return true;
    return false;
}

bool SharedFiles::Contains(const std::string& path, PathNames& names) const {
    const std::size_t slash = LastSeparator(path);
    if (slash == std::string::npos) return false;
    const std::string_view spelling(path.data(), slash);
    if (!last_known_ || spelling != last_spelling_) {
        last_spelling_.assign(spelling);
        last_key_ = names.Folder(last_spelling_).key + "\\";
        last_shared_ = FolderShared(last_key_);
        last_registered_ = false;
        for (const std::string& folder : registered_folders_) last_registered_ = last_registered_ || folder == last_key_;
        last_known_ = true;
    }
    return last_shared_ || (last_registered_ && keys_.count(last_key_ + FileNameKey(path)) > 0);
}

bool IsSharedFile(const char* path) {
    if (path == nullptr) return false;
    PathNames names;
    return SharedFiles::Load(names).Contains(path, names);
}
