#include "toolkit/zipcore/pkware_crypt.h"

#include <zlib.h>

namespace zipcore {

namespace {

uint32_t crcByte(uint32_t crc, uint8_t b) {
    static const z_crc_t* table = get_crc_table();
    return table[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

}  // namespace

PkwareKeys::PkwareKeys(const std::string& password) : k0_(0x12345678), k1_(0x23456789), k2_(0x34567890) {
    for (unsigned char c : password) update(c);
}

void PkwareKeys::update(uint8_t plain) {
    k0_ = crcByte(k0_, plain);
    k1_ = (k1_ + (k0_ & 0xFF)) * 134775813u + 1;
    k2_ = crcByte(k2_, uint8_t(k1_ >> 24));
}

uint8_t PkwareKeys::streamByte() const {
    const uint32_t t = (k2_ & 0xFFFF) | 2;
    return uint8_t(((t * (t ^ 1)) >> 8) & 0xFF);
}

uint8_t PkwareKeys::decrypt(uint8_t c) {
    const uint8_t plain = c ^ streamByte();
    update(plain);
    return plain;
}

uint8_t PkwareKeys::encrypt(uint8_t plain) {
    const uint8_t c = plain ^ streamByte();
    update(plain);
    return c;
}

void PkwareKeys::decrypt(uint8_t* data, size_t n) {
    for (size_t i = 0; i < n; ++i) data[i] = decrypt(data[i]);
}

}  // namespace zipcore
