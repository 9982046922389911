// Where the relaunch puts its temporary copy, and whether a run already is
// that copy.
#pragma once

#include <string>

// True when the upper-case executable path contains the upper-case temporary
// folder anywhere (the run is a temporary copy and must not copy itself again).
bool RunsFromTempFolder(const std::string& upper_executable, const std::string& upper_temp_folder);

// <temp>\sker<xxxx>.exe, xxxx = tick count modulo 10000 in lower-case hex,
// at least four digits.
std::string TempCopyPath(const std::string& temp_folder, unsigned long tick_count);

// Upper-cases ASCII letters (the Windows shell uses CharUpperA).
std::string UpperAscii(std::string text);
