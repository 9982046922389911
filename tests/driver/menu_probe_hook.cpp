// Hook DLL of the menu probe: loaded into the probed program by the system,
// it answers the probe message by writing the window's system menu and
// whether it has icons into
// %TEMP%\menu_probe_<pid>.txt.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HMODULE self = nullptr;

std::string ResultPath(DWORD pid)
{
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    return std::string(folder) + "menu_probe_" + std::to_string(pid) + ".txt";
}

void WriteMenu(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    const std::string path = ResultPath(GetCurrentProcessId());
    if (!menu || path.empty())
        return;
    const std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text) - 1;
        if (!GetMenuItemInfoA(menu, i, TRUE, &info))
            continue;
        if (info.fType & MFT_SEPARATOR)
            std::fprintf(file, "S\n");
        else
            std::fprintf(file, "I %u %s\n", info.wID, text);
    }
    // Icon queries cannot cross processes under Wine either.
    std::fprintf(file, "B %d\n", SendMessageA(window, WM_GETICON, ICON_BIG, 0) != 0);
    std::fprintf(file, "M %d\n", SendMessageA(window, WM_GETICON, ICON_SMALL, 0) != 0);
    std::fprintf(file, "D %d\n", SendMessageA(window, WM_QUERYDRAGICON, 0, 0) != 0);
    std::fclose(file);
    MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING); // whole file or none
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT probe = RegisterWindowMessageA("menu_probe.read_system_menu");
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == probe && msg->hwnd)
        WriteMenu(msg->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

extern "C" __declspec(dllexport) HHOOK StartMenuProbe(DWORD threadId)
{
    return SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, self, threadId);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}
