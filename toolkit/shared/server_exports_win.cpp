// The four entry points of an in-process server and DllMain. Compiled into
// each control DLL (not through a library, so the exports always link).
#include "toolkit/shared/server_exports_win.h"

#include "toolkit/shared/com_module_win.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        vxcom::SetModuleHandle(instance);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        vxcom::UnregisterModuleClasses();
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, vxcom::ThisServer().clsid)) return CLASS_E_CLASSNOTAVAILABLE;
    return vxcom::ThisClassFactory()->QueryInterface(iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return vxcom::ModuleInUse() ? S_FALSE : S_OK;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    return vxreg::RegisterServer(vxcom::ThisServer());
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    return vxreg::UnregisterServer(vxcom::ThisServer());
}
