// Packed bitmaps come from files and from the configuration block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "skerrit/panel/dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DibLayout layout;
    if (ParsePackedDib(data, size, layout)) {
        if (layout.pixelOffset + layout.pixelBytes > size) std::abort();
        if (layout.colorCount > kMaxDibColors) std::abort();
        // Touch the last pixel byte so the sanitizer sees any overrun.
        if (layout.pixelBytes != 0 && data[layout.pixelOffset + layout.pixelBytes - 1] == 0x5A) {
            layout.width ^= 1;
        }
    }
    if (ParseDibHeader(data, size, layout) && layout.pixelOffset > size) std::abort();
    return 0;
}
