#pragma once
// The sample installation run: files, shared-file count, shortcuts, the
// installation log and parameter file, the registration of the controls
// through tolvane, and skerrit's uninstall entry.

#include <cstdio>

#include "installer/sample/sample_install.h"

// Empty folders in `options` get the Program Files defaults. Reports each
// step on `out`; returns 0 when everything was installed and registered.
int RunSampleInstall(SampleOptions options, std::FILE* out);
