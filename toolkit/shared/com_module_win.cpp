#include "toolkit/shared/com_module_win.h"

namespace vxcom {

namespace {
HMODULE g_module = nullptr;
LONG g_locks = 0;
const char* g_classes[4] = {};
LONG g_classCount = 0;
}

HMODULE ModuleHandle() { return g_module; }
void SetModuleHandle(HMODULE module) { g_module = module; }
void LockModule() { InterlockedIncrement(&g_locks); }
void UnlockModule() { InterlockedDecrement(&g_locks); }
bool ModuleInUse() { return InterlockedCompareExchange(&g_locks, 0, 0) != 0; }

bool RegisterModuleClass(const char* name, WNDPROC proc, HBRUSH background)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = g_module;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (RegisterClassA(&wc)) {
        LONG slot = InterlockedIncrement(&g_classCount) - 1;
        if (slot < LONG(sizeof g_classes / sizeof g_classes[0])) g_classes[slot] = name;
        return true;
    }
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Called when the DLL unloads: a class left behind would point into freed code.
void UnregisterModuleClasses()
{
    for (const char* name : g_classes)
        if (name) UnregisterClassA(name, g_module);
}

} // namespace vxcom
