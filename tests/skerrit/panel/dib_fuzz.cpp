// Packed bitmaps come from files and from the configuration block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skerrit/panel/dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DibLayout layout;
    if (ParsePackedDib(data, size, layout)) {
        if (layout.pixelOffset + layout.pixelBytes > size) std::abort();
        if (layout.colorCount > kMaxDibColors) std::abort();
        if (DibIsRunLength(layout)) {
            // The stream alone, in a block of its exact size, so any read past it shows.
            const std::vector<uint8_t> stream(data + layout.pixelOffset,
                                              data + layout.pixelOffset + layout.pixelBytes);
            std::vector<uint8_t> pixels;
            if (!DecodeRunLengthPixels(stream.data(), stream.size(), layout, pixels)) std::abort();
            if (pixels.size() != DibStride(layout.width, layout.bitCount) * static_cast<uint64_t>(layout.height)) {
                std::abort();
            }
        }
        // Touch the last pixel byte so the sanitizer sees any overrun.
        if (layout.pixelBytes != 0 && data[layout.pixelOffset + layout.pixelBytes - 1] == 0x5A) {
            layout.width ^= 1;
        }
    }
    if (ParseDibHeader(data, size, layout) && layout.pixelOffset > size) std::abort();
    return 0;
}
