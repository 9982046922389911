// Loaded into skerrit by a WH_GETMESSAGE hook: menus of another process
// cannot be read from outside under Wine, so the probe reads the main
// window's system menu from inside and writes it to a file in the temp folder.
#include <windows.h>

#include <cstdio>

namespace {

void WriteMenu(HWND window) {
    char path[MAX_PATH];
    GetTempPathA(sizeof(path), path);
    lstrcatA(path, "skerrit_menu_probe.txt");
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return;
    HMENU menu = GetSystemMenu(window, FALSE);
    const int count = menu != nullptr ? GetMenuItemCount(menu) : -1;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        char text[256] = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text) - 1;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        std::fprintf(out, "%u|%s|%s\n", info.wID, (info.fType & MFT_SEPARATOR) ? "sep" : "item", text);
    }
    std::fclose(out);
}

}  // namespace

extern "C" LRESULT CALLBACK MenuProbeHook(int code, WPARAM wparam, LPARAM lparam) {
    static const UINT probe = RegisterWindowMessageA("SkerritMenuProbe");
    if (code == HC_ACTION && wparam == PM_REMOVE) {
        const MSG* message = reinterpret_cast<const MSG*>(lparam);
        if (message->message == probe) WriteMenu(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
