#include "skerrit/startup/config_block.h"
#include "skerrit/startup/find_in_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

// The block as read from a file: its length field decides how much follows;
// the parser must refuse anything inconsistent and never read past the bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    if (bytes.size() >= config_layout::kHeaderSize && (data[0] & 1)) {
        // Half the runs get a valid marker and a matching length so the field
        // readers are exercised, not just the rejection path.
        std::memcpy(bytes.data(), "Config Marker\0\0\0", 16);
        if (bytes.size() < config_layout::kMinBlockSize) bytes.resize(config_layout::kMinBlockSize);
        WriteLe32(bytes.data() + config_layout::kLengthOffset, static_cast<std::uint32_t>(bytes.size()));
    }
    if (auto block = ConfigBlock::FromBytes(bytes)) {
        std::size_t total = 0;
        for (int r = -1; r <= 8; ++r) {
            for (int f = 0; f < kConfigFieldCount; ++f) {
                total += block->Text(r, static_cast<ConfigField>(f)).size();
            }
            total += block->Flags(r) + block->Placement(r);
            const PictureBytes picture = block->Picture(r);
            if (picture) total += picture.data[picture.size - 1];
        }
        if (total == 1) return 0;
    }
    const std::int64_t hit = FindInStream(
        [&](std::int64_t offset, char* buffer, std::size_t n) -> std::size_t {
            if (offset < 0 || static_cast<std::size_t>(offset) >= size) return 0;
            const std::size_t count = std::min(n, size - static_cast<std::size_t>(offset));
            std::memcpy(buffer, data + offset, count);
            return count;
        },
        0, "config marker", true);
    if (hit >= 0 && static_cast<std::size_t>(hit) + 13 > size) __builtin_trap();
    return 0;
}
