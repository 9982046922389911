#include "common/child_run_win.h"

#include <shellapi.h>

#include "common/command_scan.h"
#include "common/padded_number.h"
#include "common/scoped_handles_win.h"

namespace {
// winerror.h of Windows Vista and later; the cross headers lack it.
constexpr DWORD kElevationRequired = 740;
}  // namespace

bool WriteRunResult(const std::string& result_file, long value) {
    ScopedHandle file(CreateFileA(result_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return false;
    const std::string text = (value < 0 ? "-" + PaddedNumber(0UL - static_cast<unsigned long>(value), 1, 10)
                                        : PaddedNumber(static_cast<unsigned long>(value), 1, 10)) +
                             "\r\n";
    DWORD written = 0;
    const bool whole = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                       written == text.size();
    return file.Close() && whole;
}

bool ReadRunResult(const std::string& result_file, long& value) {
    ScopedHandle file(CreateFileA(result_file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return false;
    char text[32] = {};
    DWORD read = 0;
    if (!ReadFile(file.get(), text, sizeof(text) - 1, &read, nullptr) || read < 3) return false;
    // The line end is written last: without it the child ended mid-write.
    if (text[read - 2] != '\r' || text[read - 1] != '\n') return false;
    const bool digits = (text[0] >= '0' && text[0] <= '9') || (text[0] == '-' && text[1] >= '0' && text[1] <= '9');
    if (!digits) return false;
    value = ParseSignedDecimal(std::string_view(text, read));
    return true;
}

std::string UniqueResultFile(const std::string& base) {
    static unsigned long counter = 0;
    const std::string path = base + "." + PaddedNumber(GetCurrentProcessId(), 1, 16) + "." +
                             PaddedNumber(++counter, 1, 16) + ".result";
    return path.size() < MAX_PATH ? path : std::string();
}

HANDLE StartProgram(const std::string& program, const std::string& arguments, const std::string& folder,
                    WORD show, HANDLE job, DWORD* pid) {
    if (pid != nullptr) *pid = 0;
    std::string command = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION started = {};
    const DWORD flags = job != nullptr ? CREATE_SUSPENDED : 0;
    if (CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, flags, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        if (job != nullptr) {
            AssignProcessToJobObject(job, started.hProcess);
            ResumeThread(started.hThread);
        }
        CloseHandle(started.hThread);
        if (pid != nullptr) *pid = started.dwProcessId;
        return started.hProcess;
    }
    if (GetLastError() != kElevationRequired) return nullptr;
    SHELLEXECUTEINFOA shell = {};
    shell.cbSize = sizeof(shell);
    shell.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    shell.lpVerb = "open";
    shell.lpFile = program.c_str();
    shell.lpParameters = arguments.c_str();
    shell.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    shell.nShow = show;
    if (!ShellExecuteExA(&shell)) return nullptr;
    return shell.hProcess;
}
