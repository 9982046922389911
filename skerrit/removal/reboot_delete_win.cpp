#include "skerrit/removal/reboot_delete_win.h"

#include <windows.h>

#include <string>

#include "skerrit/removal/wininit_win.h"

namespace {

DWORD Platform() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return ~0u;
    return version.dwPlatformId;
}

// Empty for an empty path. A short form that fails or does not fit is
// reported as failure: a cut name could name another file.
bool ShortPath(const char* path, std::string& short_path) {
    short_path.clear();
    if (path == nullptr || path[0] == '\0') return true;
    char buffer[MAX_PATH];
    const DWORD length = GetShortPathNameA(path, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    short_path.assign(buffer, length);
    return true;
}

bool ScheduleWithWininit(const char* existing_path, const char* new_path) {
    char windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    std::string wininit(windows, length);
    if (wininit.back() != '\\') wininit += '\\';
    wininit += "wininit.ini";

    std::string short_new;
    std::string short_existing;
    if (!ShortPath(new_path, short_new) || !ShortPath(existing_path, short_existing))
        return false;
    if (short_existing.empty()) return false;
    if (!short_new.empty())
        return WritePrivateProfileStringA("rename", short_new.c_str(), short_existing.c_str(),
                                          wininit.c_str()) != FALSE;
    return AddWininitDeletion(short_existing.c_str(), wininit.c_str());
}

}  // namespace

bool ScheduleDeleteAtRestart(const char* existing_path, const char* new_path) {
    if (existing_path == nullptr || existing_path[0] == '\0') return false;
    const bool has_new = new_path != nullptr && new_path[0] != '\0';
    switch (Platform()) {
        case VER_PLATFORM_WIN32_NT:
            return MoveFileExA(existing_path, has_new ? new_path : nullptr,
                               MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
        case VER_PLATFORM_WIN32_WINDOWS:
            return ScheduleWithWininit(existing_path, has_new ? new_path : nullptr);
        default:
            return false;
    }
}
