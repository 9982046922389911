#include "skerrit/startup/relaunch_win.h"

#include <string>

#include "common/scoped_handles_win.h"
#include "skerrit/run_settings.h"
#include "skerrit/startup/system_services_win.h"
#include "skerrit/startup/temp_copy.h"

namespace {

struct TempCopy {
    std::string path;
    std::string folder;  // upper case, as the copy's working folder
};

// Makes the copy; false when the run already is one or nothing was copied.
bool MakeTempCopy(const char* executable_path, TempCopy& copy) {
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return false;  // unknown or cut: no target to trust
    CharUpperA(temp);
    copy.folder = temp;

    std::string upper_exe = executable_path;
    CharUpperA(&upper_exe[0]);
    if (RunsFromTempFolder(upper_exe, copy.folder)) return false;

    copy.path = TempCopyPath(copy.folder, GetTickCount());
    return CopyFileToPath(executable_path, copy.path.c_str(), false);
}

}  // namespace

bool RelaunchFromTemp(const char* executable_path, const char* command_tail) {
    TempCopy copy;
    if (!MakeTempCopy(executable_path, copy)) return false;
    ShellExecuteA(GetDesktopWindow(), "Open", copy.path.c_str(), command_tail, copy.folder.c_str(),
                  SW_SHOWNORMAL);
    return true;
}

bool RelaunchFromTempAndWait(const char* executable_path, const char* command_tail, DWORD& copy_exit_code) {
    TempCopy copy;
    if (!MakeTempCopy(executable_path, copy)) return false;
    SHELLEXECUTEINFOA start = {};
    start.cbSize = sizeof(start);
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    start.lpVerb = "Open";
    start.lpFile = copy.path.c_str();
    start.lpParameters = command_tail;
    start.lpDirectory = copy.folder.c_str();
    start.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&start) || start.hProcess == nullptr) {
        DeleteFileA(copy.path.c_str());
        return false;
    }
    ScopedHandle process(start.hProcess);
    SetCurrentDirectoryA(copy.folder.c_str());
    WaitForSingleObject(process.get(), INFINITE);
    if (!GetExitCodeProcess(process.get(), &copy_exit_code)) copy_exit_code = static_cast<DWORD>(kResultNothingDone);
    return true;
}
