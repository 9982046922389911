#include "framework/forms_common_dialog_win.h"

#include <commdlg.h>

#include <vector>

#include "framework/forms_filter.h"

namespace forms {

bool CommonDialog::ShowOpen(HWND owner) {
    // Large enough for any Win32 path; a name the dialog cannot fit is
    // reported as an error there, never handed back cut.
    std::vector<char> name(32768, '\0');
    if (FileName.size() < name.size()) FileName.copy(name.data(), FileName.size());
    const std::string filter = OpenDialogFilter(Filter);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn)) return false;
    FileName.assign(name.data());
    return true;
}

}  // namespace forms
