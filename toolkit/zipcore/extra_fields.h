// Extra fields of ZIP headers: blocks of (id, data size, data), read only within the field.
#pragma once

#include <cstdint>
#include <string>

namespace zipcore {

constexpr uint16_t kZip64ExtraId = 0x0001;         // 64-bit sizes, offset and disk
constexpr uint16_t kUnicodePathExtraId = 0x7075;   // Info-ZIP: UTF-8 name and CRC-32 of the header's

// The data of the first block with this id; false when there is none. A block that runs past
// the field's end ends the search.
bool findExtraBlock(const std::string& extra, uint16_t id, std::string& data);

// The field without the blocks of this id; whatever follows the last whole block is kept.
std::string withoutExtraBlock(const std::string& extra, uint16_t id);

}  // namespace zipcore
