#include "skerrit/startup/relaunch_win.h"

#include <windows.h>

#include <string>

#include "skerrit/startup/system_services_win.h"
#include "skerrit/startup/temp_copy.h"

bool RelaunchFromTemp(const char* executable_path, const char* command_tail) {
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return false;  // unknown or cut: no target to trust
    CharUpperA(temp);
    const std::string temp_folder = temp;

    std::string upper_exe = executable_path;
    CharUpperA(&upper_exe[0]);
    if (RunsFromTempFolder(upper_exe, temp_folder)) return false;

    const std::string copy = TempCopyPath(temp_folder, GetTickCount());
    if (!CopyFileToPath(executable_path, copy.c_str(), false)) return false;
    ShellExecuteA(GetDesktopWindow(), "Open", copy.c_str(), command_tail, temp_folder.c_str(),
                  SW_SHOWNORMAL);
    return true;
}
