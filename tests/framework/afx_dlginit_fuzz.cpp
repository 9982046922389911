#include "framework/afx_dlginit.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<afx::DialogInitEntry> entries;
    if (afx::ParseDialogInitData(data, size, entries)) {
        std::size_t total = 2;
        for (const afx::DialogInitEntry& e : entries)
            total += 8 + e.data.size();
        if (total > size)
            __builtin_trap();
        for (const afx::DialogInitEntry& e : entries)
            afx::FindControlState(entries, e.controlId);
    }
    return 0;
}
