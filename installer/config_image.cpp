#include "installer/config_image.h"

#include <cstdio>
#include <cstring>

#include "installer/pe_sections.h"
#include "skerrit/panel/dib.h"

using namespace config_layout;

namespace {

const char* const kFieldNames[kConfigFieldCount] = {
    "title",        "message",       "link",         "menu",          "button1",    "button2",
    "spare-label1", "spare-label2",  "option1",      "option2",       "spare-text1", "spare-text2",
};

std::size_t PackedDibExtent(const std::uint8_t* data, std::size_t size) {
    DibLayout layout;
    if (!ParsePackedDib(data, size, layout)) return 0;
    return layout.pixelOffset + layout.pixelBytes;
}

// The picture's bytes as the block keeps them. A run-length stream whose
// header leaves its length open would run on into the pictures stored after
// it, so the copy records the length it has.
bool PictureForBlock(const std::vector<std::uint8_t>& packed_dib, std::vector<std::uint8_t>& stored) {
    DibLayout layout;
    if (!ParsePackedDib(packed_dib.data(), packed_dib.size(), layout)) return false;
    stored.assign(packed_dib.begin(), packed_dib.begin() + layout.pixelOffset + layout.pixelBytes);
    if (DibIsRunLength(layout)) {
        if (layout.pixelBytes > UINT32_MAX) return false;
        WriteLe32(stored.data() + kInfoImageSizeOffset, static_cast<std::uint32_t>(layout.pixelBytes));
    }
    return true;
}

std::size_t AlignUp4(std::size_t value) { return (value + 3u) & ~static_cast<std::size_t>(3u); }

}  // namespace

bool ConfigFieldFromName(const std::string& name, ConfigField& field) {
    for (int i = 0; i < kConfigFieldCount; ++i) {
        if (name == kFieldNames[i]) {
            field = static_cast<ConfigField>(i);
            return true;
        }
    }
    return false;
}

const char* ConfigFieldName(ConfigField field) { return kFieldNames[static_cast<int>(field)]; }

bool ConfigImage::Load(std::vector<std::uint8_t> image, std::string& error) {
    std::vector<PeSection> sections;
    if (!ReadPeSections(image, sections, error)) return false;
    const PeSection* section = FindPeSection(sections, "tvconfig");
    if (section == nullptr) {
        error = "the executable has no tvconfig section";
        return false;
    }
    if (section->file_size < kSectionHeaderSize + kMinBlockSize ||
        std::memcmp(image.data() + section->file_offset, "TVC1", 4) != 0) {
        error = "the tvconfig section does not start with a TVC1 header and a whole block";
        return false;
    }
    image_ = std::move(image);
    section_offset_ = section->file_offset;
    section_size_ = section->file_size;
    const std::uint32_t length = BlockLength();
    if (length < kMinBlockSize || length > Capacity()) {
        error = "the block's stored length (" + std::to_string(length) + ") does not fit its section";
        image_.clear();
        return false;
    }
    return true;
}

std::uint32_t ConfigImage::BlockLength() const { return ReadLe32(Block() + kLengthOffset); }

bool ConfigImage::MarkerPresent() const {
    std::uint8_t expected[kMarkerWidth] = {};
    std::memcpy(expected, kConfigMarker, std::strlen(kConfigMarker));
    return std::memcmp(Block(), expected, kMarkerWidth) == 0;
}

void ConfigImage::RemoveMarker() { std::memset(Block(), 0, kMarkerWidth); }

void ConfigImage::RestoreMarker() {
    std::memset(Block(), 0, kMarkerWidth);
    std::memcpy(Block(), kConfigMarker, std::strlen(kConfigMarker));
}

void ConfigImage::SetBlockLength(std::uint32_t length) {
    WriteLe32(Block() + kLengthOffset, length);
    WriteLe32(image_.data() + section_offset_ + 8, length);
}

bool ConfigImage::CheckRecord(int record, std::string& error) const {
    if (record >= 0 && record < static_cast<int>(kRecordCount)) return true;
    error = "record must be 0 to 7";
    return false;
}

std::uint8_t* ConfigImage::RecordField(int record, std::size_t offset_in_record) {
    return Block() + kHeaderSize + static_cast<std::size_t>(record) * kRecordSize + offset_in_record;
}

bool ConfigImage::SetText(int record, ConfigField field, const std::string& text, std::string& error) {
    if (!CheckRecord(record, error)) return false;
    const FieldSpan span = FieldLayout(field);
    if (text.size() >= span.width) {
        error = std::string("text too long for ") + ConfigFieldName(field) + ": at most " +
                std::to_string(span.width - 1) + " characters";
        return false;
    }
    if (text.find('\0') != std::string::npos) {
        error = "text must not contain NUL characters";
        return false;
    }
    // A second copy of the marker inside the block would be taken for the
    // block's start once the real marker is removed.
    if (text.find(kConfigMarker) != std::string::npos) {
        error = std::string("text must not contain \"") + kConfigMarker + "\"";
        return false;
    }
    std::uint8_t* field_bytes = RecordField(record, span.offset);
    std::memset(field_bytes, 0, span.width);
    std::memcpy(field_bytes, text.data(), text.size());
    return true;
}

bool ConfigImage::SetFlags(int record, std::uint32_t flags, std::string& error) {
    if (!CheckRecord(record, error)) return false;
    WriteLe32(RecordField(record, kFlagsField), flags);
    return true;
}

bool ConfigImage::SetPlacement(int record, std::uint16_t placement, std::string& error) {
    if (!CheckRecord(record, error)) return false;
    WriteLe16(RecordField(record, kPlacementField), placement);
    return true;
}

std::size_t ConfigImage::PictureSize(int record) const {
    const std::uint8_t* base = Block() + kHeaderSize + static_cast<std::size_t>(record) * kRecordSize;
    const std::uint32_t offset = ReadLe32(base + kPictureOffsetField);
    const std::uint32_t length = BlockLength();
    if (offset < kMinBlockSize || offset >= length) return 0;
    return PackedDibExtent(Block() + offset, length - offset);
}

bool ConfigImage::AttachPicture(int record, const std::vector<std::uint8_t>& packed_dib, std::string& error) {
    if (!CheckRecord(record, error)) return false;
    std::vector<std::uint8_t> picture;
    if (!PictureForBlock(packed_dib, picture)) {
        error = "the picture is not a bitmap the uninstaller can show";
        return false;
    }
    // Rebuild the picture area: every other record's picture, then the new one.
    std::vector<std::uint8_t> area;
    std::uint32_t offsets[kRecordCount] = {};
    for (int r = 0; r < static_cast<int>(kRecordCount); ++r) {
        const std::uint8_t* base = Block() + kHeaderSize + static_cast<std::size_t>(r) * kRecordSize;
        const std::uint8_t* source = nullptr;
        std::size_t size = 0;
        if (r == record) {
            source = picture.data();
            size = picture.size();
        } else if (ReadLe32(base + kPictureOffsetField) != 0) {
            size = PictureSize(r);
            if (size == 0) {
                error = "record " + std::to_string(r) + "'s picture is damaged; remove it first";
                return false;
            }
            source = Block() + ReadLe32(base + kPictureOffsetField);
        }
        if (source == nullptr) continue;
        area.resize(AlignUp4(area.size()));
        offsets[r] = static_cast<std::uint32_t>(kMinBlockSize + area.size());
        area.insert(area.end(), source, source + size);
    }
    if (kMinBlockSize + area.size() > Capacity()) {
        error = "the pictures need " + std::to_string(area.size()) + " bytes; the section has room for " +
                std::to_string(Capacity() - kMinBlockSize);
        return false;
    }
    std::memset(Block() + kMinBlockSize, 0, Capacity() - kMinBlockSize);
    std::memcpy(Block() + kMinBlockSize, area.data(), area.size());
    for (int r = 0; r < static_cast<int>(kRecordCount); ++r) {
        WriteLe32(RecordField(r, kPictureOffsetField), offsets[r]);
    }
    SetBlockLength(static_cast<std::uint32_t>(kMinBlockSize + area.size()));
    return true;
}

bool ConfigImage::RemovePicture(int record, std::string& error) {
    if (!CheckRecord(record, error)) return false;
    WriteLe32(RecordField(record, kPictureOffsetField), 0);
    // Without any picture the block shrinks back to the records.
    bool any = false;
    for (int r = 0; r < static_cast<int>(kRecordCount); ++r) {
        any = any || ReadLe32(RecordField(r, kPictureOffsetField)) != 0;
    }
    if (!any) {
        std::memset(Block() + kMinBlockSize, 0, Capacity() - kMinBlockSize);
        SetBlockLength(static_cast<std::uint32_t>(kMinBlockSize));
    }
    return true;
}

std::vector<std::string> ConfigImage::Problems() const {
    std::vector<std::string> problems;
    const std::size_t block_start = section_offset_ + kSectionHeaderSize;
    if (!MarkerPresent()) problems.push_back("the block's marker is removed: the uninstaller runs without it");
    // The uninstaller takes the second occurrence of the marker in the file as
    // the block: exactly one must come before it.
    const std::string marker(kConfigMarker);
    const std::string_view file(reinterpret_cast<const char*>(image_.data()), image_.size());
    const std::size_t first = file.find(marker);
    const std::size_t second = first == std::string_view::npos ? first : file.find(marker, first + kMarkerWidth);
    if (MarkerPresent() && (first == std::string_view::npos || second != block_start)) {
        problems.push_back("the program's search key does not come exactly once before the block");
    }
    if (ReadLe32(image_.data() + section_offset_ + 8) != BlockLength()) {
        problems.push_back("the section header's length differs from the block's");
    }
    for (int r = 0; r < static_cast<int>(kRecordCount); ++r) {
        const std::uint8_t* base = Block() + kHeaderSize + static_cast<std::size_t>(r) * kRecordSize;
        for (int f = 0; f < kConfigFieldCount; ++f) {
            const FieldSpan span = FieldLayout(static_cast<ConfigField>(f));
            if (std::memchr(base + span.offset, 0, span.width) == nullptr) {
                problems.push_back("record " + std::to_string(r) + " " + ConfigFieldName(static_cast<ConfigField>(f)) +
                                   " has no terminating NUL");
            }
        }
        if (ReadLe32(base + kPictureOffsetField) != 0 && PictureSize(r) == 0) {
            problems.push_back("record " + std::to_string(r) + "'s picture is outside the block or damaged");
        }
    }
    return problems;
}

std::string ConfigImage::Dump() const {
    std::string out;
    char line[160];
    std::snprintf(line, sizeof(line), "marker: %s\nblock length: %u (room %zu)\n",
                  MarkerPresent() ? "present" : "removed", static_cast<unsigned>(BlockLength()), Capacity());
    out += line;
    // Read through a copy with the marker in place so a removed marker still dumps.
    std::vector<std::uint8_t> bytes(Block(), Block() + BlockLength());
    std::memcpy(bytes.data(), kConfigMarker, std::strlen(kConfigMarker));
    const std::unique_ptr<ConfigBlock> block = ConfigBlock::FromBytes(std::move(bytes));
    if (!block) return out + "block: unreadable\n";
    for (int r = 0; r < static_cast<int>(kRecordCount); ++r) {
        std::snprintf(line, sizeof(line), "[record %d]\nflags: 0x%08x\nplacement: %u\npicture offset: %u\n", r,
                      static_cast<unsigned>(block->Flags(r)), static_cast<unsigned>(block->Placement(r)),
                      static_cast<unsigned>(block->PictureOffset(r)));
        out += line;
        for (int f = 0; f < kConfigFieldCount; ++f) {
            const ConfigField field = static_cast<ConfigField>(f);
            std::string text = block->Text(r, field);
            std::string shown;
            for (char c : text) {
                if (c == '\r') shown += "\\r";
                else if (c == '\n') shown += "\\n";
                else if (c == '\\') shown += "\\\\";
                else shown += c;
            }
            out += std::string(ConfigFieldName(field)) + ": " + shown + "\n";
        }
    }
    return out;
}

bool PackedDibFromBmpFile(const std::vector<std::uint8_t>& file, std::vector<std::uint8_t>& packed_dib,
                          std::string& error) {
    if (file.size() < kBitmapFileHeaderSize || file[0] != 'B' || file[1] != 'M') {
        error = "not a .bmp file (no BM header)";
        return false;
    }
    const std::uint8_t* dib = file.data() + kBitmapFileHeaderSize;
    const std::size_t available = file.size() - kBitmapFileHeaderSize;
    DibLayout layout;
    if (!ParsePackedDib(dib, available, layout)) {
        error = "the bitmap's header, colours or pixels are damaged or of an unsupported kind";
        return false;
    }
    // The file header's pixel offset may leave a gap after the colours; the
    // packed form has none, so the pixels are taken from where the file says.
    // Their extent is checked again from there: a run-length stream of open
    // length ends with the file, not a gap later.
    const std::uint32_t pixel_offset = ReadLe32(file.data() + 10);
    if (pixel_offset > kBitmapFileHeaderSize + layout.pixelOffset) {
        if (pixel_offset <= file.size()) {
            packed_dib.assign(dib, dib + layout.pixelOffset);
            packed_dib.insert(packed_dib.end(), file.data() + pixel_offset, file.data() + file.size());
            if (ParsePackedDib(packed_dib.data(), packed_dib.size(), layout)) {
                packed_dib.resize(layout.pixelOffset + layout.pixelBytes);
                return true;
            }
        }
        packed_dib.clear();
        error = "the bitmap's pixels lie outside the file";
        return false;
    }
    packed_dib.assign(dib, dib + layout.pixelOffset + layout.pixelBytes);
    return true;
}
