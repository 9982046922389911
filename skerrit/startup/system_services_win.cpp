#include "skerrit/startup/system_services_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "common/scoped_handles_win.h"

namespace {

// Drive and folder of a path, ending with a backslash ("" when none).
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool MakeFolderExist(std::string folder) {
    if (folder.empty()) return true;
    std::vector<std::string> cut;  // components removed from the end, deepest first
    while (!folder.empty() && !SetCurrentDirectoryA(folder.c_str())) {
        // Drop the trailing backslash, then the last component.
        std::string trimmed = folder;
        while (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.pop_back();
        const std::size_t slash = trimmed.find_last_of("\\/");
        if (slash == std::string::npos) return false;  // not even the drive exists
        cut.push_back(trimmed.substr(slash + 1));
        folder = trimmed.substr(0, slash + 1);
    }
    for (auto it = cut.rbegin(); it != cut.rend(); ++it) {
        folder += *it;
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            return false;
        }
        folder += '\\';
    }
    return true;
}

bool IsNtPlatform() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version)) return true;
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

std::string RunningExecutablePath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) return std::string();
    return path;
}

bool CopyFileToPath(const char* source, const char* target, bool fail_if_exists) {
    if (source == nullptr || target == nullptr) return false;
    if (!MakeFolderExist(FolderOf(target))) return false;
    return CopyFileA(source, target, fail_if_exists ? TRUE : FALSE) != FALSE;
}

bool EnableShutdownPrivilege() {
    if (!IsNtPlatform()) return true;
    ScopedLibrary advapi("advapi32");
    if (advapi.get() == nullptr) return false;
    using OpenTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using AdjustFn = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
    using LookupFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
    const auto open_token = reinterpret_cast<OpenTokenFn>(
        reinterpret_cast<void*>(GetProcAddress(advapi.get(), "OpenProcessToken")));
    const auto adjust = reinterpret_cast<AdjustFn>(
        reinterpret_cast<void*>(GetProcAddress(advapi.get(), "AdjustTokenPrivileges")));
    const auto lookup = reinterpret_cast<LookupFn>(
        reinterpret_cast<void*>(GetProcAddress(advapi.get(), "LookupPrivilegeValueA")));
    if (open_token == nullptr || adjust == nullptr || lookup == nullptr) return false;
    ScopedHandle token;
    if (!open_token(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.out())) {
        return false;
    }
    TOKEN_PRIVILEGES privileges{};
    if (!lookup(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    SetLastError(0);
    adjust(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
    return GetLastError() == ERROR_SUCCESS;
}
