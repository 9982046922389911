// Window and resource text as std::string, whatever its length.
#pragma once

#include <windows.h>

#include <string>

#include "framework/forms_newlines.h"

namespace forms {

std::string WindowText(HWND hwnd);
std::string LoadResourceText(HINSTANCE instance, UINT id);

}  // namespace forms
