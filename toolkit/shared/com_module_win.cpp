#include "toolkit/shared/com_module_win.h"

namespace vxcom {

namespace {
HMODULE g_module = nullptr;
LONG g_locks = 0;
}

HMODULE ModuleHandle() { return g_module; }
void SetModuleHandle(HMODULE module) { g_module = module; }
void LockModule() { InterlockedIncrement(&g_locks); }
void UnlockModule() { InterlockedDecrement(&g_locks); }
bool ModuleInUse() { return InterlockedCompareExchange(&g_locks, 0, 0) != 0; }

} // namespace vxcom
