// Where the relaunch puts its temporary copy.
#pragma once

#include <string>

// <temp>\sker<xxxx>.exe, xxxx = tick count modulo 10000 in lower-case hex,
// at least four digits.
std::string TempCopyPath(const std::string& temp_folder, unsigned long tick_count);
