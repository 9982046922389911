#include "tests/driver/menu_probe.h"

#include "tests/driver/e2e_driver.h"

#include <sstream>

namespace menu_probe {
namespace {

using StartProbe = HHOOK (*)(DWORD threadId);

} // namespace

bool ReadSystemMenu(HWND window, std::vector<MenuItem>& items, WindowIcons* icons, DWORD timeoutMs)
{
    items.clear();
    HMODULE dll = LoadLibraryA(e2e::BinPath("menu_probe_hook.dll").c_str());
    if (!dll)
        return false;
    auto start = reinterpret_cast<StartProbe>(
        reinterpret_cast<void*>(GetProcAddress(dll, "StartMenuProbe")));
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (!start || length == 0 || length >= MAX_PATH) {
        FreeLibrary(dll);
        return false;
    }
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &pid);
    const std::string result = std::string(folder) + "menu_probe_" + std::to_string(pid) + ".txt";
    DeleteFileA(result.c_str());
    HHOOK hook = start(thread);
    bool ok = false;
    if (hook) {
        PostMessageA(window, RegisterWindowMessageA("menu_probe.read_system_menu"), 0, 0);
        ok = e2e::WaitUntil([&] { return e2e::FileExists(result); }, timeoutMs);
        UnhookWindowsHookEx(hook);
    }
    FreeLibrary(dll);
    std::string content;
    if (!ok || !e2e::ReadFile(result, &content))
        return false;
    DeleteFileA(result.c_str());
    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line)) {
        // Each line: "S" for a separator, "I <id> <text>", or an icon "B|M|D <0|1>".
        MenuItem item;
        if (line.size() == 3 && line[1] == ' ' && (line[0] == 'B' || line[0] == 'M' || line[0] == 'D')) {
            if (icons) {
                const bool has = line[2] == '1';
                (line[0] == 'B' ? icons->big : line[0] == 'M' ? icons->small : icons->drag) = has;
            }
            continue;
        }
        if (line.rfind("S", 0) == 0) {
            item.separator = true;
        } else if (line.rfind("I ", 0) == 0) {
            const size_t space = line.find(' ', 2);
            if (space == std::string::npos)
                continue;
            item.id = static_cast<UINT>(std::stoul(line.substr(2, space - 2)));
            item.text = line.substr(space + 1);
        } else {
            continue;
        }
        items.push_back(item);
    }
    return !items.empty();
}

} // namespace menu_probe
