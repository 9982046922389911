// The controls' saved-state stream: a list of typed property values by DISPID.
//
//   "VXS1"                                  magic, 4 bytes
//   records, each:
//     u16 dispid (little-endian), u8 type (1 text, 2 I2, 3 I4, 4 BOOL),
//     value: I2 and BOOL 2 bytes, I4 4 bytes (little-endian, signed),
//            text: u16 byte count (<= kMaxSavedText), then that many ANSI bytes
//   u16 0                                   end of list; any bytes after it are padding
//
// A stream that ends right after a record is accepted as if the end mark followed.
#pragma once

#include "framework/vxcontrols_ids.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vxstate {

constexpr std::size_t kMaxSavedText = 4096;
constexpr std::size_t kMaxSavedRecords = 256;

struct SavedValue {
    std::int32_t dispid = 0;
    vx::PropType type = vx::PropType::I4;
    std::int32_t number = 0; // I2, I4 and BOOL
    std::string text;        // text
};

// False (and `out` empty) when the bytes are not a well-formed stream.
bool DecodeSavedState(const std::uint8_t* data, std::size_t size, std::vector<SavedValue>& out);

// Values whose DISPID does not fit 16 bits or whose text is too long are left out.
std::vector<std::uint8_t> EncodeSavedState(const std::vector<SavedValue>& values);

} // namespace vxstate
