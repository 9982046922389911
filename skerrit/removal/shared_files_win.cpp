#include "skerrit/removal/shared_files_win.h"

#include <windows.h>

#include "common/scoped_handles_win.h"

namespace {

const char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr DWORD kNameRoom = 780;

// Calls `visit` with each value name until it returns false. A name too long
// for the buffer cannot be a path of ours; it is passed over rather than
// ending the walk, so the names after it still count.
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
        if (!visit(name)) return;
    }
}

}  // namespace

bool IsSharedFile(const char* path) {
    if (path == nullptr) return false;
    bool found = false;
    ForEachSharedName([&](const char* name) {
        found = lstrcmpiA(name, path) == 0;
        return !found;
    });
    return found;
}

bool SharedFileNames::LessNoCase::operator()(const std::string& a, const std::string& b) const {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

SharedFileNames SharedFileNames::Load() {
    SharedFileNames names;
    ForEachSharedName([&](const char* name) {
        names.names_.insert(name);
        return true;
    });
    return names;
}

bool SharedFileNames::Contains(const char* path) const {
    return path != nullptr && names_.count(path) > 0;
}
