#include "installer/config_image.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tests/installer/test_image.h"

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
    if (is_bmp) {
        // Whatever picture the tool takes from a file, it stores so that the
        // block stays valid, next to a second copy of itself.
        static const std::vector<std::uint8_t> shell = test_image::MakeImage(1 << 17);
        ConfigImage holder;
        if (!holder.Load(shell, error)) std::abort();
        if (dib.size() <= (1 << 16)) {
            if (!holder.AttachPicture(0, dib, error) || !holder.AttachPicture(2, dib, error)) std::abort();
            if (!holder.Problems().empty()) std::abort();
        }
    }
    return 0;
}
