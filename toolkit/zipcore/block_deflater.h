// Raw deflate of a whole buffer in one call, for files held in memory. One per thread: its
// tables are allocated once and serve every file that thread compresses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct libdeflate_compressor;

namespace zipcore {

class BlockDeflater {
public:
    // Level 1-9, as the archive's options give it. Throws std::bad_alloc without memory.
    explicit BlockDeflater(int level);
    ~BlockDeflater();
    BlockDeflater(const BlockDeflater&) = delete;
    BlockDeflater& operator=(const BlockDeflater&) = delete;

    // Deflates size bytes into out (grown as needed); returns the stream's length, or 0 when
    // the stream would not be smaller than the bytes themselves (they are then stored).
    size_t deflate(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

private:
    libdeflate_compressor* compressor_;
};

}  // namespace zipcore
