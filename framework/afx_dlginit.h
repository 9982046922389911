// Dialog-initialisation data: per control, a message and its bytes, which the
// framework hands over when the dialog creates its controls. A hosted
// control's entry carries its saved state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace afx {

constexpr std::uint16_t kLoadControlState = 0x0376; // entry holds a control's saved stream

struct DialogInitEntry {
    std::uint16_t controlId = 0;
    std::uint16_t message = 0;
    std::vector<std::uint8_t> data;
};

// Entries up to the terminating zero id; false when an entry runs past `size`
// or the terminator is missing.
bool ParseDialogInitData(const std::uint8_t* data, std::size_t size,
                         std::vector<DialogInitEntry>& entries);

// The saved state of control `controlId`, or null when it has none.
const DialogInitEntry* FindControlState(const std::vector<DialogInitEntry>& entries,
                                        std::uint32_t controlId);

} // namespace afx
