#include "skerrit/removal/protected_folders_win.h"

#include <shlobj.h>

#include "skerrit/removal/removal_paths.h"

namespace {

// The long form of an existing folder; the text itself otherwise.
std::string LongForm(const std::string& folder) {
    char buffer[MAX_PATH];
    const DWORD length = GetLongPathNameA(folder.c_str(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return folder;
    return std::string(buffer, length);
}

std::string Normalised(const std::string& folder) { return WithoutTrailingBackslash(LongForm(folder)); }

bool SameFolder(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

}  // namespace

ProtectedFolders ProtectedFolders::OfThisMachine() {
    ProtectedFolders result;
    char buffer[MAX_PATH];
    UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) result.Add(buffer);
    length = GetSystemDirectoryA(buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) result.Add(buffer);
    length = GetSystemWindowsDirectoryA(buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) result.Add(buffer);
    const DWORD temp_length = GetTempPathA(MAX_PATH, buffer);
    if (temp_length > 0 && temp_length < MAX_PATH) result.Add(buffer);
    static const int kShellFolders[] = {
        CSIDL_PROFILE,          CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU,
        CSIDL_PROGRAMS,         CSIDL_STARTUP,          CSIDL_SENDTO,
        CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_PROGRAMS,
        CSIDL_COMMON_STARTUP,   CSIDL_PERSONAL,         CSIDL_APPDATA,
        CSIDL_LOCAL_APPDATA,    CSIDL_COMMON_APPDATA,   CSIDL_TEMPLATES,
        CSIDL_FAVORITES,        CSIDL_RECENT,
    };
    for (int csidl : kShellFolders) {
        buffer[0] = '\0';
        if (SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)) &&
            buffer[0] != '\0')
            result.Add(buffer);
    }
    return result;
}

void ProtectedFolders::Add(const std::string& folder) {
    if (!folder.empty()) folders_.push_back(Normalised(folder));
}

bool ProtectedFolders::Contains(const std::string& folder) const {
    const std::string as_given = WithoutTrailingBackslash(folder);
    for (const std::string& kept : folders_)
        if (SameFolder(kept, as_given)) return true;
    // Only a short-name alias ("PROGRA~1") differs from its long form, and
    // asking the file system for the long form costs a lookup per component.
    if (as_given.find('~') == std::string::npos) return false;
    const std::string long_form = Normalised(folder);
    for (const std::string& kept : folders_)
        if (SameFolder(kept, long_form)) return true;
    return false;
}
