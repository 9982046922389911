// Self-registration of a control DLL: the class's table of keys and values
// and its type library (embedded as resource 1).
#pragma once

#include "toolkit/shared/registration.h"

#include <windows.h>

namespace vxreg {

struct ServerDescription {
    CLSID clsid;
    GUID libid;
    const char* progId;
    const char* description;
};

HRESULT RegisterServer(const ServerDescription& server);
HRESULT UnregisterServer(const ServerDescription& server);

// Type library embedded in this module.
HRESULT LoadModuleTypeLib(ITypeLib** lib);

} // namespace vxreg
