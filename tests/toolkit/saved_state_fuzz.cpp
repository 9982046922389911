#include "toolkit/shared/saved_state.h"

#include <cstdlib>

// Decoding never reads past the input; what decodes re-encodes to the same values.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<vxstate::SavedValue> values;
    if (!vxstate::DecodeSavedState(data, size, values)) return 0;
    const auto again = vxstate::EncodeSavedState(values);
    std::vector<vxstate::SavedValue> back;
    if (!vxstate::DecodeSavedState(again.data(), again.size(), back) || back.size() != values.size())
        std::abort();
    for (std::size_t i = 0; i < values.size(); ++i)
        if (back[i].dispid != values[i].dispid || back[i].number != values[i].number ||
            back[i].text != values[i].text)
            std::abort();
    return 0;
}
