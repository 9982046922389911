// The installer tools still include the owners under this name.
#pragma once

#include "common/scoped_handles_win.h"

using ScopedFile = ScopedHandle;
