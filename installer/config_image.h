// The configuration block inside an uninstaller executable, as the
// configuration tool edits it: found through the tvconfig section's "TVC1"
// header, edited in place, with pictures appended after the records inside
// the section's reserved room. The image's size never changes, so an edited
// executable stays a valid program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skerrit/startup/config_block.h"

constexpr std::size_t kSectionHeaderSize = 12;  // "TVC1", layout version, block length

class ConfigImage {
public:
    // False with a reason when the image has no usable tvconfig section.
    bool Load(std::vector<std::uint8_t> image, std::string& error);
    const std::vector<std::uint8_t>& Image() const { return image_; }

    std::uint32_t BlockLength() const;
    std::size_t Capacity() const { return section_size_ - kSectionHeaderSize; }
    bool MarkerPresent() const;

    // Every record and field, flags, placement and picture offset.
    std::string Dump() const;
    // What would keep the uninstaller from reading the block as the tool
    // wrote it; empty when nothing does.
    std::vector<std::string> Problems() const;

    bool SetText(int record, ConfigField field, const std::string& text, std::string& error);
    bool SetFlags(int record, std::uint32_t flags, std::string& error);
    bool SetPlacement(int record, std::uint16_t placement, std::string& error);
    // `packed_dib`: header, colours, pixels (no file header).
    bool AttachPicture(int record, const std::vector<std::uint8_t>& packed_dib, std::string& error);
    bool RemovePicture(int record, std::string& error);
    // Zeroes the block's marker so the uninstaller finds no block; the tool
    // still finds it through the section header and can restore it.
    void RemoveMarker();
    void RestoreMarker();

private:
    std::uint8_t* Block() { return image_.data() + section_offset_ + kSectionHeaderSize; }
    const std::uint8_t* Block() const { return image_.data() + section_offset_ + kSectionHeaderSize; }
    std::uint8_t* RecordField(int record, std::size_t offset_in_record);
    bool CheckRecord(int record, std::string& error) const;
    void SetBlockLength(std::uint32_t length);
    // Size of the picture a record points at, 0 when it has none or it is damaged.
    std::size_t PictureSize(int record) const;

    std::vector<std::uint8_t> image_;
    std::size_t section_offset_ = 0;
    std::size_t section_size_ = 0;
};

// "title", "message", ... as used on the tool's command line.
bool ConfigFieldFromName(const std::string& name, ConfigField& field);
const char* ConfigFieldName(ConfigField field);

// The packed bitmap inside a .bmp file, checked the way the uninstaller's
// picture panel checks it.
bool PackedDibFromBmpFile(const std::vector<std::uint8_t>& file, std::vector<std::uint8_t>& packed_dib,
                          std::string& error);
