// The file dialog of a form: file name, title and a forms-style filter
// ("Text|*.txt|All|*.*"), shown as the system's Open dialog.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

class CommonDialog {
public:
    std::string FileName;
    std::string DialogTitle;
    std::string Filter;

    // True when the user chose a file; FileName then holds it. On cancel, or
    // when the chosen name does not fit, FileName is left as it was.
    bool ShowOpen(HWND owner);
};

}  // namespace forms
