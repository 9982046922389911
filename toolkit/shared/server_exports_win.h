// What each control DLL supplies to the shared DLL entry points.
#pragma once

#include "toolkit/shared/registration_win.h"

namespace vxcom {

const vxreg::ServerDescription& ThisServer();
// The class factory of the DLL's control class.
IClassFactory* ThisClassFactory();

} // namespace vxcom
