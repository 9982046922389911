#include "toolkit/zipcore/extra_fields.h"

#include "toolkit/zipcore/byte_order.h"

namespace zipcore {

namespace {

const uint8_t* bytes(const std::string& s, size_t at) { return reinterpret_cast<const uint8_t*>(s.data()) + at; }

}  // namespace

bool findExtraBlock(const std::string& extra, uint16_t id, std::string& data) {
    for (size_t at = 0; extra.size() - at >= 4;) {
        const uint16_t blockId = le16(bytes(extra, at));
        const size_t size = le16(bytes(extra, at + 2));
        if (extra.size() - at - 4 < size) return false;
        if (blockId == id) {
            data.assign(extra, at + 4, size);
            return true;
        }
        at += 4 + size;
    }
    return false;
}

std::string withoutExtraBlock(const std::string& extra, uint16_t id) {
    std::string kept;
    size_t at = 0;
    while (extra.size() - at >= 4) {
        const size_t size = le16(bytes(extra, at + 2));
        if (extra.size() - at - 4 < size) break;
        if (le16(bytes(extra, at)) != id) kept.append(extra, at, 4 + size);
        at += 4 + size;
    }
    kept.append(extra, at, std::string::npos);
    return kept;
}

}  // namespace zipcore
