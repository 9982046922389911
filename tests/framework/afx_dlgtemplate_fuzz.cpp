#include "framework/afx_dlgtemplate.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    afx::SplitDialogTemplate split;
    if (afx::SplitControlSites(data, size, split)) {
        // What survives must parse again to the same bytes, with no sites left.
        afx::SplitDialogTemplate again;
        if (!afx::SplitControlSites(split.dialog.data(), split.dialog.size(), again) ||
            !again.sites.empty() || again.dialog != split.dialog)
            __builtin_trap();
    }
    return 0;
}
