#include "installer/sample/sample_install_run_win.h"

#include <windows.h>

#include <vector>

#include "common/scoped_handles_win.h"

bool RunAndWait(const std::string& exe, const std::string& arguments, const std::string& work_folder,
                unsigned long* exit_code) {
    std::string command = "\"" + exe + "\" " + arguments;
    std::vector<char> writable(command.begin(), command.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        work_folder.empty() ? nullptr : work_folder.c_str(), &startup, &info))
        return false;
    const ScopedHandle process(info.hProcess);
    const ScopedHandle thread(info.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    if (exit_code != nullptr) *exit_code = code;
    return true;
}
