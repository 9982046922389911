// A minimal PE image with a tvconfig section holding the shipped block, and
// small packed bitmaps, for the configuration tool's tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "skerrit/startup/shipped_config_block.h"

namespace test_image {

constexpr std::size_t kSectionOffset = 0x200;

inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline std::vector<std::uint8_t> MakeImage(std::size_t room = 4096, bool with_marker_in_rdata = true) {
    const std::size_t section_size = 12 + config_layout::kMinBlockSize + room;
    std::vector<std::uint8_t> b(kSectionOffset + section_size + 64, 0);
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 0x3C, 0x40);
    std::memcpy(&b[0x40], "PE\0\0", 4);
    Put16(b, 0x44, 0x14c);   // machine
    Put16(b, 0x46, 1);       // one section
    Put16(b, 0x54, 0xE0);    // optional header size
    const std::size_t section_header = 0x40 + 4 + 20 + 0xE0;
    std::memcpy(&b[section_header], "tvconfig", 8);
    Put32(b, section_header + 16, static_cast<std::uint32_t>(section_size));
    Put32(b, section_header + 20, kSectionOffset);
    if (with_marker_in_rdata) std::memcpy(&b[0x1A0], "Config Marker", 13);
    std::memcpy(&b[kSectionOffset], "TVC1", 4);
    Put32(b, kSectionOffset + 4, 1);
    Put32(b, kSectionOffset + 8, static_cast<std::uint32_t>(config_layout::kMinBlockSize));
    constexpr shipped_block::Block block = shipped_block::Make();
    std::memcpy(&b[kSectionOffset + 12], block.data(), block.size());
    return b;
}

// An 8-bit, 2 x 2 packed bitmap with a 2-entry colour table.
inline std::vector<std::uint8_t> MakePackedDib(std::uint8_t fill = 1) {
    std::vector<std::uint8_t> d(40 + 2 * 4 + 2 * 4, 0);
    Put32(d, 0, 40);
    Put32(d, 4, 2);
    Put32(d, 8, 2);
    Put16(d, 12, 1);
    Put16(d, 14, 8);
    Put32(d, 32, 2);  // colours used
    d[40 + 4 + 2] = 0xFF;  // second colour red
    for (std::size_t i = 48; i < d.size(); ++i) d[i] = fill;
    return d;
}

// A 4 x 2 run-length (8-bit) packed bitmap with the same 2-entry colour table;
// its 18-byte stream is longer than the 8 bytes of its uncompressed rows.
// `state_length`: the header's image size gives the stream's length, else 0.
inline std::vector<std::uint8_t> MakeRunLengthPackedDib(bool state_length) {
    std::vector<std::uint8_t> d = MakePackedDib();
    d.resize(48);
    Put32(d, 4, 4);
    Put32(d, 16, 1);  // RLE8
    const std::uint8_t stream[] = {0x00, 0x04, 0x01, 0x00, 0x01, 0x00,  // absolute 1 0 1 0
                                   0x00, 0x00,                          // end of line
                                   0x01, 0x01, 0x01, 0x00, 0x01, 0x01, 0x01, 0x00,
                                   0x00, 0x01};                         // end of bitmap
    d.insert(d.end(), std::begin(stream), std::end(stream));
    if (state_length) Put32(d, 20, sizeof stream);
    return d;
}

inline std::vector<std::uint8_t> MakeBmpFile(const std::vector<std::uint8_t>& dib, std::size_t gap = 0) {
    std::vector<std::uint8_t> f(14, 0);
    f[0] = 'B';
    f[1] = 'M';
    const std::size_t colours_end = 48;  // header + table of MakePackedDib
    f.insert(f.end(), dib.begin(), dib.begin() + colours_end);
    f.insert(f.end(), gap, 0xEE);
    f.insert(f.end(), dib.begin() + colours_end, dib.end());
    Put32(f, 2, static_cast<std::uint32_t>(f.size()));
    Put32(f, 10, static_cast<std::uint32_t>(14 + colours_end + gap));
    return f;
}

}  // namespace test_image
