// Panel texts and font descriptions arrive from other programs' messages.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "skerrit/panel/font_desc.h"
#include "skerrit/panel/panel_text_block.h"
#include "skerrit/panel/text_escape.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');

    PanelTextBlock block;
    block.Set(text.data());
    const size_t length = DecodeTextEscapes(block.MutableText());
    if (length >= PanelTextBlock::kCapacity || std::strlen(block.Text()) != length) std::abort();

    const FontDescription font = ParseFontDescription(text.data());
    if (std::strlen(font.faceName) > static_cast<size_t>(kMaxFaceNameLength)) std::abort();

    char out[16];
    if (block.CopyTo(out, size % sizeof out) >= sizeof out) std::abort();
    return 0;
}
