// Just enough of the PE format to find a section's bytes in an executable
// file image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct PeSection {
    std::string name;
    std::size_t file_offset = 0;  // PointerToRawData
    std::size_t file_size = 0;    // SizeOfRawData, checked to lie inside the image
};

// The sections of a PE image; false with a reason when the image is not a
// PE file or a section's raw data lies outside it.
bool ReadPeSections(const std::vector<std::uint8_t>& image, std::vector<PeSection>& sections,
                    std::string& error);

const PeSection* FindPeSection(const std::vector<PeSection>& sections, std::string_view name);
