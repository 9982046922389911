#include "server_child_win.h"

#include "common/child_run_win.h"
#include "common/scoped_handles_win.h"
#include "register_file_win.h"
#include "register_list.h"

namespace tolvane {

namespace {

constexpr int kChildRegistered = 0;
constexpr int kChildFailed = 1;
constexpr UINT kChildFaulted = 0xDEAD;

// A fault nothing handled ends the child at once: no debugger, no report box.
LONG WINAPI EndOnUnhandledFault(EXCEPTION_POINTERS*) {
    TerminateProcess(GetCurrentProcess(), kChildFaulted);
    return EXCEPTION_EXECUTE_HANDLER;
}

std::string OwnProgram() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(path, length);
}

std::string ResultFileBase() {
    char temp[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(temp, length) + "tvreg";
}

// Ends the child (and whatever it started) on close, and ends it without a
// report box when a fault goes unhandled. Before Windows 8 a process already
// in a job (started by a deployment tool) cannot join another: then the
// child runs without one and is ended on its own.
HANDLE MakeChildJob() {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return job;
}

struct ChildWindows {
    DWORD pid;
};

BOOL CALLBACK RaiseChildWindow(HWND window, LPARAM context) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == reinterpret_cast<ChildWindows*>(context)->pid && IsWindowVisible(window) &&
        (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0)
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

// True when the child ended within the limit. Messages of this thread are
// dispatched meanwhile; a quit message is kept for the caller's loop.
bool WaitPumping(HANDLE process, DWORD child_pid, HWND topmost_window) {
    const bool raise = topmost_window != nullptr && (GetWindowLongA(topmost_window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const DWORD start = GetTickCount();
    bool quit = false;
    WPARAM quit_value = 0;
    bool ended = false;
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= kServerTimeLimitMs) break;
        const DWORD slice = kServerTimeLimitMs - elapsed < 100 ? kServerTimeLimitMs - elapsed : 100;
        if (MsgWaitForMultipleObjects(1, &process, FALSE, slice, QS_ALLINPUT) == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quit_value = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (raise) {
            ChildWindows windows{child_pid};
            EnumWindows(RaiseChildWindow, reinterpret_cast<LPARAM>(&windows));
        }
    }
    if (quit) PostQuitMessage(static_cast<int>(quit_value));
    return ended;
}

}  // namespace

bool RegisterServerInChild(const std::string& path, bool do_register, HWND topmost_window) {
    const std::string program = OwnProgram();
    const std::string base = ResultFileBase();
    const std::string result_file = base.empty() ? std::string() : UniqueResultFile(base);
    if (program.empty() || result_file.empty()) return false;
    DeleteFileA(result_file.c_str());
    const std::string arguments =
        std::string(do_register ? "/O1" : "/O0") + " /X " + result_file + " /P " + path;
    ScopedHandle job(MakeChildJob());
    DWORD pid = 0;
    ScopedHandle process(StartProgram(program, arguments, ServerFolderOf(path), SW_SHOWNORMAL, job.get(), &pid));
    if (!process.ok()) return false;
    if (pid != 0) AllowSetForegroundWindow(pid);
    const bool ended = WaitPumping(process.get(), pid, topmost_window);
    if (!ended) {
        if (job.ok()) TerminateJobObject(job.get(), kChildFaulted);
        TerminateProcess(process.get(), kChildFaulted);
        WaitForSingleObject(process.get(), 5000);
    }
    DWORD status = kChildFailed;
    long reported = kChildFailed;
    const bool registered = ended && GetExitCodeProcess(process.get(), &status) && status == kChildRegistered &&
                            ReadRunResult(result_file, reported) && reported == kChildRegistered;
    DeleteFileA(result_file.c_str());
    return registered;
}

int RunServerChild(const CommandLineValues& command) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(EndOnUnhandledFault);
    if (command.result_file.empty() || command.server_file.empty()) return kChildFailed;
    const int outcome = RegisterServerFile(command.server_file, RegistersFiles(command.operation)) ? kChildRegistered
                                                                                                   : kChildFailed;
    return WriteRunResult(command.result_file, outcome) ? outcome : kChildFailed;
}

}  // namespace tolvane
