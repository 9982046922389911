#include "tests/skerrit/skerrit_e2e_support_win.h"

#include <vector>

namespace skerrit_e2e {

namespace {
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
}

HWND WaitForMainWindow(DWORD pid, DWORD not_pid, DWORD timeout_ms) {
    HWND found = nullptr;
    e2e::WaitUntil(
        [&] {
            HWND window = nullptr;
            while ((window = FindWindowExA(nullptr, window, "TVUninstallClass", nullptr)) != nullptr) {
                if (!IsWindowVisible(window)) continue;
                const DWORD owner = e2e::WindowProcessId(window);
                if ((pid != 0 && owner == pid) || (pid == 0 && owner != not_pid)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeout_ms);
    return found;
}

HWND WelcomeDialogOf(HWND main_window) { return FindWindowExA(main_window, nullptr, "#32770", nullptr); }

HWND WaitForDialog(DWORD pid, const char* title, DWORD timeout_ms) {
    e2e::WindowQuery query;
    query.className = "#32770";
    query.title = title;
    query.pid = pid;
    return e2e::WaitForWindow(query, timeout_ms);
}

std::string TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    return temp;
}

namespace {
std::vector<std::string> TempFiles(const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((TempFolder() + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(TempFolder() + data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}
}  // namespace

std::vector<std::string> TempCopies() { return TempFiles("sker*.exe"); }

void RemoveTempCopies() {
    for (const std::string& name : TempCopies()) DeleteFileA(name.c_str());
    // The silent run's launcher, moved beside its copy.
    for (const std::string& name : TempFiles("sker*.exe.launcher")) DeleteFileA(name.c_str());
}

int CountTempCopies() { return static_cast<int>(TempCopies().size()); }

std::string RegistryString(const std::string& subkey, const char* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstallKey + subkey).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return "<no key>";
    }
    char data[1024] = {};
    DWORD size = sizeof(data) - 1;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return "<no value>";
    return data;
}

void DeleteUninstallEntry(const std::string& product) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kUninstallKey + product).c_str());
}

bool UninstallEntryExists(const std::string& product) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstallKey + product).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool CopySkerritTo(const std::string& path) {
    return CopyFileA(e2e::BinPath("skerrit.exe").c_str(), path.c_str(), FALSE) != FALSE;
}

}  // namespace skerrit_e2e
