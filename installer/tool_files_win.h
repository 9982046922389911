// Whole-file reads and all-or-nothing replacement of a file on Windows.
#pragma once

#include "installer/config_tool.h"

ToolFiles WindowsToolFiles();
