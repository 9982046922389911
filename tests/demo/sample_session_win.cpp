#include "tests/demo/sample_session_win.h"

#include "installer/sample/sample_install_files_win.h"
#include "installer/sample/sample_install_win.h"

namespace sample_session {

const char kReviewTitle[] = "Varnex-AX Uninstaller - Items to be removed";
const char kRemovalTitle[] = "Varnex-AX Uninstaller - Removal In Process";
const char kSharedTitle[] = "Varnex-AX Uninstaller - Shared File";
const char kRestartTitle[] = "Varnex-AX Uninstaller - Restart";
const char kCancelledTitle[] = "Varnex-AX Uninstaller - Cancelled";
const char kErrorTitle[] = "Varnex-AX Uninstaller - Error";
const char kAboutTitle[] = "About Varnex-AX Uninstaller";

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kSharedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

e2e::Process Launch(const std::string& application, const std::string& command_line, HANDLE output) {
    std::vector<char> writable(command_line.begin(), command_line.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (output != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(application.empty() ? nullptr : application.c_str(), writable.data(), nullptr, nullptr,
                        output != nullptr, 0, nullptr, nullptr, &startup, &info))
        return e2e::Process();
    CloseHandle(info.hThread);
    return e2e::Process(info.hProcess, info.dwProcessId);
}

}  // namespace

std::string SampleArguments(const SampleOptions& options) {
    std::string args = "/N " + options.product + " /V " + options.version + " /G " + options.group;
    if (!options.install_folder.empty()) args += " /D " + options.install_folder;
    if (!options.shared_folder.empty()) args += " /S " + options.shared_folder;
    if (options.register_controls) args += " /T";
    return args;
}

e2e::Process StartSampleInstall(const SampleOptions& options, HANDLE output) {
    // Wine's shell hands every new .lnk to its menu builder, which writes into
    // the host's desktop menus. An empty override disables it for the prefix;
    // the environment form does not reach processes started from Windows.
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "winemenubuilder.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        RegCloseKey(key);
    }
    const std::string exe = e2e::BinPath("tvsample.exe");
    return Launch(exe, "\"" + exe + "\" " + SampleArguments(options), output);
}

bool AcceptRegistration(DWORD timeout_ms) {
    HWND main = e2e::WaitForWindow("TVMultiFileRegisterClass", nullptr, timeout_ms);
    if (main == nullptr) return false;
    HWND confirm = nullptr;
    e2e::WaitUntil([&] { return (confirm = FindWindowExA(main, nullptr, "#32770", nullptr)) != nullptr; }, 5000);
    if (confirm == nullptr) return false;
    e2e::ScreenshotIfRequested("tolvane-confirm", main);
    return e2e::ClickButton(confirm, IDOK) && e2e::WaitForWindowGone(main, 30000);
}

namespace {
std::string EntryValue(const std::string& product, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstallKey + product).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    char data[1024] = {};
    DWORD size = sizeof(data) - 1;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::string(data) : std::string();
}
}  // namespace

std::string UninstallString(const std::string& product) { return EntryValue(product, "UninstallString"); }

std::string QuietUninstallString(const std::string& product) { return EntryValue(product, "QuietUninstallString"); }

bool UninstallEntryExists(const std::string& product) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstallKey + product).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

e2e::Process StartCommandLine(const std::string& command_line) { return Launch("", command_line, nullptr); }

Uninstaller WaitForUninstaller(DWORD launcher_pid, DWORD timeout_ms) {
    Uninstaller found;
    e2e::WaitUntil(
        [&] {
            HWND window = nullptr;
            while ((window = FindWindowExA(nullptr, window, "TVUninstallClass", nullptr)) != nullptr) {
                if (IsWindowVisible(window) && e2e::WindowProcessId(window) != launcher_pid) {
                    found.main = window;
                    return true;
                }
            }
            return false;
        },
        timeout_ms);
    if (found.main == nullptr) return found;
    found.welcome = FindWindowExA(found.main, nullptr, "#32770", nullptr);
    const DWORD pid = e2e::WindowProcessId(found.main);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
    if (process != nullptr) found.process = e2e::Process(process, pid);
    return found;
}

HWND WaitForDialog(const Uninstaller& uninstaller, const char* title, DWORD timeout_ms) {
    e2e::WindowQuery query;
    query.className = "#32770";
    query.title = title;
    query.pid = uninstaller.process.pid();
    return e2e::WaitForWindow(query, timeout_ms);
}

std::vector<InstalledThing> InstalledThings(const SampleOptions& options, const SamplePlan& plan) {
    std::vector<InstalledThing> things;
    for (const PayloadFile& file : plan.files) things.push_back({"file", file.target});
    for (const ShortcutSpec& shortcut : plan.shortcuts)
        things.push_back({"shortcut", ShortcutLinkPath(options, shortcut)});
    return things;
}

unsigned long SharedCount(const std::string& path) { return SharedFileCount(path); }

void RemoveSharedCount(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, path.c_str());
    RegCloseKey(key);
}

// Whether the path waits in the list of files that Windows NT deletes at restart.
bool PendingDeletion(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0, type = 0;
    std::string data;
    if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        size > 0) {
        data.resize(size);
        RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                         &size);
    }
    RegCloseKey(key);
    for (std::size_t start = 0; start < data.size();) {
        const std::size_t end = data.find('\0', start);
        const std::string entry = data.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (entry.size() >= path.size() &&
            lstrcmpiA(entry.substr(entry.size() - path.size()).c_str(), path.c_str()) == 0)
            return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

}  // namespace sample_session
