#include "skerrit/startup/config_block.h"

#include <cstring>

using namespace config_layout;

const char kConfigMarker[] = "Config Marker";

namespace {

constexpr FieldSpan kFields[kConfigFieldCount] = {
    {0, 256},    {256, 512},  {768, 256},  {1024, 64},  {1088, 32},   {1120, 32},
    {1152, 32},  {1184, 32},  {1216, 256}, {1472, 256}, {1728, 256},  {1984, 256},
};

std::unique_ptr<ConfigBlock>& RunBlockSlot() {
    static std::unique_ptr<ConfigBlock> block;
    return block;
}

}  // namespace

FieldSpan FieldLayout(ConfigField field) { return kFields[static_cast<int>(field)]; }

int RecordForTemplate(int template_id) {
    switch (template_id) {
        case 101:
        case 106: return 0;
        case 102: return 1;
        case 103: return 2;
        case 104: return 3;
        case 105: return 4;
        case 100: return 5;
        case 110: return 6;
        case 112: return 7;
        default: return -1;
    }
}

std::uint32_t ReadLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ReadLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void WriteLe32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void WriteLe16(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

std::unique_ptr<ConfigBlock> ConfigBlock::FromBytes(std::vector<std::uint8_t> bytes) {
    if (bytes.size() < kMinBlockSize || bytes.size() > kMaxBlockSize) return nullptr;
    const std::size_t marker_length = std::strlen(kConfigMarker);
    if (std::memcmp(bytes.data(), kConfigMarker, marker_length) != 0) return nullptr;
    if (ReadLe32(bytes.data() + kLengthOffset) != bytes.size()) return nullptr;
    return std::unique_ptr<ConfigBlock>(new ConfigBlock(std::move(bytes)));
}

const std::uint8_t* ConfigBlock::Record(int record) const {
    if (record < 0 || record >= static_cast<int>(kRecordCount)) return nullptr;
    return bytes_.data() + kHeaderSize + static_cast<std::size_t>(record) * kRecordSize;
}

std::string ConfigBlock::Text(int record, ConfigField field) const {
    const std::uint8_t* base = Record(record);
    if (base == nullptr) return std::string();
    const FieldSpan span = FieldLayout(field);
    const char* text = reinterpret_cast<const char*>(base + span.offset);
    const void* nul = std::memchr(text, '\0', span.width);
    const std::size_t length =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : span.width;
    return std::string(text, length);
}

std::uint32_t ConfigBlock::Flags(int record) const {
    const std::uint8_t* base = Record(record);
    return base != nullptr ? ReadLe32(base + kFlagsField) : 0;
}

std::uint16_t ConfigBlock::Placement(int record) const {
    const std::uint8_t* base = Record(record);
    return base != nullptr ? ReadLe16(base + kPlacementField) : kDefaultPlacement;
}

std::uint32_t ConfigBlock::PictureOffset(int record) const {
    const std::uint8_t* base = Record(record);
    return base != nullptr ? ReadLe32(base + kPictureOffsetField) : 0;
}

PictureBytes ConfigBlock::Picture(int record) const {
    const std::uint32_t offset = PictureOffset(record);
    if (offset == 0 || offset >= bytes_.size()) return PictureBytes{};
    return PictureBytes{bytes_.data() + offset, bytes_.size() - offset};
}

void SetRunConfigBlock(std::unique_ptr<ConfigBlock> block) { RunBlockSlot() = std::move(block); }

const ConfigBlock* RunConfigBlock() { return RunBlockSlot().get(); }

std::string GetConfigText(int template_id, ConfigField field) {
    const ConfigBlock* block = RunConfigBlock();
    const int record = RecordForTemplate(template_id);
    if (block == nullptr || record < 0) return std::string();
    return block->Text(record, field);
}

std::uint32_t GetConfigFlags(int template_id) {
    const ConfigBlock* block = RunConfigBlock();
    const int record = RecordForTemplate(template_id);
    if (block == nullptr || record < 0) return 0;
    return block->Flags(record);
}

std::uint16_t GetPicturePlacement(int template_id) {
    const ConfigBlock* block = RunConfigBlock();
    const int record = RecordForTemplate(template_id);
    if (block == nullptr || record < 0) return kDefaultPlacement;
    return block->Placement(record);
}

PictureBytes GetConfigPicture(int record) {
    const ConfigBlock* block = RunConfigBlock();
    if (block == nullptr) return PictureBytes{};
    return block->Picture(record);
}
