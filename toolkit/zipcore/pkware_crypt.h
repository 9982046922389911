// Traditional PKWARE encryption ("ZipCrypto"): three 32-bit keys updated per byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zipcore {

class PkwareKeys {
public:
    explicit PkwareKeys(const std::string& password);
    uint8_t decrypt(uint8_t c);
    uint8_t encrypt(uint8_t c);
    void decrypt(uint8_t* data, size_t n);

private:
    void update(uint8_t plain);
    uint8_t streamByte() const;
    uint32_t k0_, k1_, k2_;
};

}  // namespace zipcore
