#include "skerrit/startup/parent_process_win.h"

#include <windows.h>
#include <tlhelp32.h>

#include "common/scoped_handles_win.h"

namespace {

DWORD ParentProcessId() {
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.ok()) return 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == self) return entry.th32ParentProcessID;
    }
    return 0;
}

}  // namespace

std::string ParentProcessImage() {
    const DWORD parent = ParentProcessId();
    if (parent == 0) return std::string();
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, parent));
    if (!snapshot.ok()) return std::string();
    MODULEENTRY32 module = {};
    module.dwSize = sizeof(module);
    // The first module of a process is its executable.
    if (!Module32First(snapshot.get(), &module)) return std::string();
    return module.szExePath;
}
