// Window text as std::string, whatever its length. (String-table texts come
// from LoadResourceString of the application framework.)
#pragma once

#include <windows.h>

#include <string>

#include "framework/forms_newlines.h"

namespace forms {

std::string WindowText(HWND hwnd);

}  // namespace forms
