// The program that started this run.
#pragma once

#include <string>

// Full path of the executable of the process that started this one; empty
// when it is gone or cannot be asked.
std::string ParentProcessImage();
