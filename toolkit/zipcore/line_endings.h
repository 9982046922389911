// LF to CRLF conversion over a stream of chunks: a lone LF becomes CRLF, CRLF stays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zipcore {

class LfToCrlf {
public:
    // Appends the converted chunk to out (cleared first).
    void convert(const uint8_t* data, size_t n, std::vector<uint8_t>& out);

private:
    bool lastWasCr_ = false;
};

}  // namespace zipcore
