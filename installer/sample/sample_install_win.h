#pragma once
// The sample installation run: files, shared-file count, shortcuts, the
// installation log and parameter file, the registration of the controls
// through tolvane, and skerrit's uninstall entry.

#include <cstdio>
#include <string>

#include "installer/sample/sample_install.h"

// Fills empty folders of `options` with the defaults: the product's folder in
// Program Files and Varnex in Common Files.
void FillDefaultFolders(SampleOptions& options);
// Where the shortcut's .lnk file lies: resolved as the uninstaller resolves
// its entry, so the removal finds this very file. Empty when unknown.
std::string ShortcutLinkPath(const SampleOptions& options, const ShortcutSpec& shortcut);

// Empty folders in `options` get the defaults. Reports each
// step on `out`; returns 0 when everything was installed and registered.
int RunSampleInstall(SampleOptions options, std::FILE* out);
