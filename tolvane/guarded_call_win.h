// Calls into a registered file's own code, which may fault.
#pragma once

#include <windows.h>

namespace tolvane {

using SelfRegisterFunction = HRESULT(STDAPICALLTYPE*)();

// Calls `entry`; false when it raised an exception that nothing inside it
// handled (an access violation, say). The stack of the failed call is unwound
// and the run goes on: a faulty server is a failed registration, not a dead
// installer.
bool CallGuarded(SelfRegisterFunction entry, HRESULT& result);

}  // namespace tolvane
