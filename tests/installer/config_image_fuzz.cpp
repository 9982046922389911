#include "installer/config_image.h"

#include <cstdint>
#include <vector>

// Executables and .bmp files handed to the configuration tool are outside
// input: the PE walk, the block checks and the bitmap checks must hold for any
// bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    std::vector<std::uint8_t> dib;
    std::string error;
    const bool is_bmp = PackedDibFromBmpFile(bytes, dib, error);
    ConfigImage image;
    if (image.Load(bytes, error)) {
        (void)image.Dump();
        (void)image.Problems();
        if (is_bmp) (void)image.AttachPicture(0, dib, error);
        (void)image.SetText(1, ConfigField::Message, "x", error);
        (void)image.RemovePicture(0, error);
    }
    return 0;
}
