// The configuration block carried inside skerrit's executable: a marker,
// a total length, eight dialog records of texts and options, and optional
// picture data after the records. Pure layout and field access; finding the
// block in the file is config_block_win.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace config_layout {
constexpr std::size_t kMarkerWidth = 16;
constexpr std::size_t kLengthOffset = 16;
constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kRecordCount = 8;
constexpr std::size_t kRecordSize = 2512;
constexpr std::size_t kMinBlockSize = kHeaderSize + kRecordCount * kRecordSize;  // 20116

constexpr std::size_t kPictureOffsetField = 2500;
constexpr std::size_t kPlacementField = 2504;
constexpr std::size_t kFlagsField = 2508;

// Largest block the uninstaller accepts; a stored length above it is damage.
constexpr std::size_t kMaxBlockSize = 16u * 1024u * 1024u;
constexpr std::uint16_t kDefaultPlacement = 12;
}  // namespace config_layout

// The search key; defined once so the executable holds it exactly once
// outside the block itself.
extern const char kConfigMarker[];

enum class ConfigField {
    Title,
    Message,
    Link,
    MenuText,
    FirstButton,
    SecondButton,
    SpareLabel1,
    SpareLabel2,
    FirstOption,
    SecondOption,
    SpareText1,
    SpareText2,
};

struct FieldSpan {
    std::size_t offset;  // within the record
    std::size_t width;
};

FieldSpan FieldLayout(ConfigField field);
constexpr int kConfigFieldCount = 12;

// The record of a dialog template, or -1 when the template has none.
int RecordForTemplate(int template_id);

struct PictureBytes {
    const std::uint8_t* data = nullptr;  // packed bitmap (header, colours, pixels)
    std::size_t size = 0;                // bytes from the picture to the block's end
    explicit operator bool() const { return data != nullptr; }
};

class ConfigBlock {
public:
    // Accepts bytes that start with the marker and whose stored length is at
    // least the records' size and equals the number of bytes given.
    static std::unique_ptr<ConfigBlock> FromBytes(std::vector<std::uint8_t> bytes);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

    // Field text up to its NUL; a field without NUL is cut at its width.
    std::string Text(int record, ConfigField field) const;
    std::uint32_t Flags(int record) const;
    std::uint16_t Placement(int record) const;
    std::uint32_t PictureOffset(int record) const;
    // None when the offset is 0 or outside the block.
    PictureBytes Picture(int record) const;

private:
    explicit ConfigBlock(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    const std::uint8_t* Record(int record) const;

    std::vector<std::uint8_t> bytes_;
};

std::uint32_t ReadLe32(const std::uint8_t* p);
std::uint16_t ReadLe16(const std::uint8_t* p);
void WriteLe32(std::uint8_t* p, std::uint32_t value);
void WriteLe16(std::uint8_t* p, std::uint16_t value);

// The run's block, found once at start-up and kept until the end. Without a
// block every text is empty, every flags value 0 and the placement 12.
void SetRunConfigBlock(std::unique_ptr<ConfigBlock> block);
const ConfigBlock* RunConfigBlock();

std::string GetConfigText(int template_id, ConfigField field);
std::uint32_t GetConfigFlags(int template_id);
std::uint16_t GetPicturePlacement(int template_id);
PictureBytes GetConfigPicture(int record);
