#include "installer/pe_sections.h"

#include <cstring>

namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

constexpr std::size_t kDosLfanew = 0x3C;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;

}  // namespace

bool ReadPeSections(const std::vector<std::uint8_t>& image, std::vector<PeSection>& sections,
                    std::string& error) {
    sections.clear();
    if (image.size() < kDosLfanew + 4 || image[0] != 'M' || image[1] != 'Z') {
        error = "not an executable (no MZ header)";
        return false;
    }
    const std::size_t pe = Le32(image, kDosLfanew);
    if (pe > image.size() || image.size() - pe < 4 + kFileHeaderSize ||
        std::memcmp(image.data() + pe, "PE\0\0", 4) != 0) {
        error = "not a PE executable";
        return false;
    }
    const std::size_t file_header = pe + 4;
    const std::size_t count = Le16(image, file_header + 2);
    const std::size_t optional_size = Le16(image, file_header + 16);
    const std::size_t table = file_header + kFileHeaderSize + optional_size;
    if (table > image.size() || (image.size() - table) / kSectionHeaderSize < count) {
        error = "section table lies outside the file";
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = table + i * kSectionHeaderSize;
        PeSection section;
        const char* raw_name = reinterpret_cast<const char*>(image.data() + entry);
        section.name.assign(raw_name, strnlen(raw_name, 8));
        section.file_size = Le32(image, entry + 16);
        section.file_offset = Le32(image, entry + 20);
        if (section.file_offset > image.size() || image.size() - section.file_offset < section.file_size) {
            error = "section " + section.name + " lies outside the file";
            return false;
        }
        sections.push_back(section);
    }
    return true;
}

const PeSection* FindPeSection(const std::vector<PeSection>& sections, std::string_view name) {
    for (const PeSection& section : sections) {
        if (section.name == name) return &section;
    }
    return nullptr;
}
