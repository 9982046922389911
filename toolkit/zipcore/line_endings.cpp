#include "toolkit/zipcore/line_endings.h"

namespace zipcore {

void LfToCrlf::convert(const uint8_t* data, size_t n, std::vector<uint8_t>& out) {
    out.clear();
    out.reserve(n + n / 8 + 1);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t c = data[i];
        if (c == '\n' && !lastWasCr_) out.push_back('\r');
        out.push_back(c);
        lastWasCr_ = c == '\r';
    }
}

}  // namespace zipcore
