#include "skerrit/startup/relaunch_win.h"

#include <string>

#include "common/child_run_win.h"
#include "common/scoped_handles_win.h"
#include "skerrit/removal/reboot_delete_win.h"
#include "skerrit/run_settings.h"
#include "skerrit/startup/system_services_win.h"
#include "skerrit/startup/temp_copy.h"

namespace {

struct TempCopy {
    std::string path;
    std::string folder;  // upper case, as the copy's working folder
};

bool MakeTempCopy(const char* executable_path, TempCopy& copy) {
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return false;  // unknown or cut: no target to trust
    CharUpperA(temp);
    copy.folder = temp;
    copy.path = TempCopyPath(copy.folder, GetTickCount());
    return CopyFileToPath(executable_path, copy.path.c_str(), false);
}

std::string CopyArguments(const char* command_tail, const std::string& result_file) {
    return std::string(command_tail) + " /X \"" + result_file + "\"";
}

// The image of a process that just ended can stay mapped for a moment.
void DeleteEndedCopy(const std::string& path) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return;
        Sleep(50);
    }
    ScheduleDeleteAtRestart(path.c_str(), "");
}

}  // namespace

bool RelaunchFromTemp(const char* executable_path, const char* command_tail) {
    TempCopy copy;
    if (!MakeTempCopy(executable_path, copy)) return false;
    // No launcher waits: the copy deletes itself at the next restart.
    ScopedHandle process(StartProgram(copy.path, CopyArguments(command_tail, ""), copy.folder, SW_SHOWNORMAL));
    return true;  // as before, a copy that did not start is not run here instead
}

bool RelaunchFromTempAndWait(const char* executable_path, const char* command_tail, DWORD& copy_exit_status) {
    TempCopy copy;
    if (!MakeTempCopy(executable_path, copy)) return false;
    const std::string result_file = UniqueResultFile(copy.path);
    ScopedHandle process;
    if (!result_file.empty()) {
        DeleteFileA(result_file.c_str());
        *process.out() = StartProgram(copy.path, CopyArguments(command_tail, result_file), copy.folder, SW_SHOWNORMAL);
    }
    if (!process.ok()) {
        DeleteFileA(copy.path.c_str());
        return false;
    }
    SetCurrentDirectoryA(copy.folder.c_str());
    WaitForSingleObject(process.get(), INFINITE);
    process.Close();
    long status = kExitFailed;
    if (!ReadRunResult(result_file, status)) status = kExitFailed;
    copy_exit_status = static_cast<DWORD>(status);
    DeleteFileA(result_file.c_str());
    DeleteEndedCopy(copy.path);
    return true;
}
