#include "skerrit/startup/config_block.h"
#include "skerrit/startup/shipped_config_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace config_layout;

std::vector<std::uint8_t> ShippedBytes() {
    constexpr shipped_block::Block block = shipped_block::Make();
    return std::vector<std::uint8_t>(block.begin(), block.end());
}

std::unique_ptr<ConfigBlock> Shipped() { return ConfigBlock::FromBytes(ShippedBytes()); }

std::size_t FieldPos(int record, ConfigField field) {
    return kHeaderSize + static_cast<std::size_t>(record) * kRecordSize + FieldLayout(field).offset;
}

TEST(ShippedBlock, HeaderAndTextsOfTheDialogs) {
    const auto block = Shipped();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->Bytes().size(), 20116u);
    EXPECT_EQ(std::memcmp(block->Bytes().data(), "Config Marker\0\0\0", 16), 0);
    EXPECT_EQ(block->Text(0, ConfigField::Title), "Varnex-AX Uninstaller");
    EXPECT_EQ(block->Text(0, ConfigField::FirstButton), "Continue...");
    EXPECT_EQ(block->Text(1, ConfigField::FirstButton), "Remove");
    EXPECT_EQ(block->Text(2, ConfigField::FirstButton), "Empty");
    EXPECT_EQ(block->Text(3, ConfigField::Title), "Varnex-AX Uninstaller - Cancelled");
    EXPECT_EQ(block->Text(4, ConfigField::SecondButton), "Empty");
    EXPECT_EQ(block->Text(5, ConfigField::MenuText), "&About Tavrin Uninstaller...");
    EXPECT_EQ(block->Text(5, ConfigField::Link), "http://www.tavrin.example/");
    EXPECT_EQ(block->Text(0, ConfigField::Link), "http://www.tavrin.example/");
    EXPECT_NE(block->Text(5, ConfigField::Message).find("\r\n"), std::string::npos);
    EXPECT_EQ(block->Text(6, ConfigField::FirstOption), "Restart Now");
    EXPECT_EQ(block->Text(7, ConfigField::SecondOption), "Restart Later");
    EXPECT_EQ(block->Text(7, ConfigField::SecondButton), "Skip");
    EXPECT_EQ(block->Text(2, ConfigField::Message), "To stop the removal process, press Cancel.");
}

TEST(ShippedBlock, UnusedFieldsSayEmptyAndOptionsAreNeutral) {
    const auto block = Shipped();
    ASSERT_NE(block, nullptr);
    for (int r = 0; r < 8; ++r) {
        SCOPED_TRACE(r);
        for (ConfigField spare : {ConfigField::SpareLabel1, ConfigField::SpareLabel2,
                                  ConfigField::SpareText1, ConfigField::SpareText2}) {
            EXPECT_EQ(block->Text(r, spare), "Empty");
        }
        if (r != 5) EXPECT_EQ(block->Text(r, ConfigField::MenuText), "Empty");
        if (r != 0 && r != 5) EXPECT_EQ(block->Text(r, ConfigField::Link), "Empty");
        if (r < 6) EXPECT_EQ(block->Text(r, ConfigField::FirstOption), "Empty");
        EXPECT_EQ(block->Flags(r), 0u);
        EXPECT_EQ(block->Placement(r), 12u);
        EXPECT_EQ(block->PictureOffset(r), 0u);
        EXPECT_FALSE(block->Picture(r));
        const std::uint8_t* reserved = block->Bytes().data() + kHeaderSize + r * kRecordSize + 2240;
        for (int i = 0; i < 260; ++i) ASSERT_EQ(reserved[i], 0) << i;
    }
}

TEST(ConfigBlockParse, RejectsWrongMarkerShortOrMismatchedLength) {
    auto bytes = ShippedBytes();
    bytes[0] = 'c';
    EXPECT_EQ(ConfigBlock::FromBytes(bytes), nullptr);

    bytes = ShippedBytes();
    WriteLe32(bytes.data() + kLengthOffset, 20115);
    bytes.pop_back();
    EXPECT_EQ(ConfigBlock::FromBytes(bytes), nullptr);  // below the records' size

    bytes = ShippedBytes();
    WriteLe32(bytes.data() + kLengthOffset, 20200);
    EXPECT_EQ(ConfigBlock::FromBytes(bytes), nullptr);  // claims more than is there

    bytes = ShippedBytes();
    bytes.resize(20200, 0xAA);
    WriteLe32(bytes.data() + kLengthOffset, 20200);
    EXPECT_NE(ConfigBlock::FromBytes(bytes), nullptr);
}

TEST(ConfigBlockFields, TextWithoutNulIsCutAtFieldWidthAndLeftoversIgnored) {
    auto bytes = ShippedBytes();
    std::memset(bytes.data() + FieldPos(3, ConfigField::FirstButton), 'B', 32);
    // "OK\0leftover" in the second button: only "OK" counts.
    std::memcpy(bytes.data() + FieldPos(3, ConfigField::SecondButton), "OK\0leftover", 11);
    const auto block = ConfigBlock::FromBytes(bytes);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->Text(3, ConfigField::FirstButton), std::string(32, 'B'));
    EXPECT_EQ(block->Text(3, ConfigField::SecondButton), "OK");
    EXPECT_EQ(block->Text(3, ConfigField::Title), "Varnex-AX Uninstaller - Cancelled");
    EXPECT_EQ(block->Text(8, ConfigField::Title), "");
    EXPECT_EQ(block->Text(-1, ConfigField::Title), "");
}

TEST(ConfigBlockFields, PictureOffsetInsideOrOutsideTheBlock) {
    auto bytes = ShippedBytes();
    bytes.resize(20116 + 100, 0x11);
    WriteLe32(bytes.data() + kLengthOffset, static_cast<std::uint32_t>(bytes.size()));
    const std::size_t rec0 = kHeaderSize;
    const std::size_t rec2 = kHeaderSize + 2 * kRecordSize;
    WriteLe32(bytes.data() + rec0 + kPictureOffsetField, 20116);
    WriteLe32(bytes.data() + rec2 + kPictureOffsetField, 20116 + 100);  // one past the end
    WriteLe16(bytes.data() + rec0 + kPlacementField, 7);
    WriteLe32(bytes.data() + rec0 + kFlagsField, 3);
    const auto block = ConfigBlock::FromBytes(bytes);
    ASSERT_NE(block, nullptr);
    const PictureBytes picture = block->Picture(0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture.size, 100u);
    EXPECT_EQ(picture.data[0], 0x11);
    EXPECT_FALSE(block->Picture(2));
    EXPECT_EQ(block->Placement(0), 7u);
    EXPECT_EQ(block->Flags(0), 3u);
}

TEST(RunConfigBlock, TemplatesMapToRecordsAndNoBlockGivesDefaults) {
    SetRunConfigBlock(nullptr);
    EXPECT_EQ(GetConfigText(101, ConfigField::Title), "");
    EXPECT_EQ(GetConfigFlags(101), 0u);
    EXPECT_EQ(GetPicturePlacement(106), 12u);
    EXPECT_FALSE(GetConfigPicture(0));

    auto bytes = ShippedBytes();
    WriteLe32(bytes.data() + kHeaderSize + kFlagsField, 1);
    SetRunConfigBlock(ConfigBlock::FromBytes(bytes));
    ASSERT_NE(RunConfigBlock(), nullptr);
    const struct {
        int template_id;
        const char* title_start;
    } cases[] = {{101, "Varnex-AX Uninstaller"}, {106, "Varnex-AX Uninstaller"},
                 {102, "Varnex-AX Uninstaller - Items"}, {103, "Varnex-AX Uninstaller - Removal"},
                 {104, "Varnex-AX Uninstaller - Cancelled"}, {105, "Varnex-AX Uninstaller - Error"},
                 {100, "About "}, {110, "Varnex-AX Uninstaller - Restart"},
                 {112, "Varnex-AX Uninstaller - Shared"}};
    for (const auto& c : cases) {
        EXPECT_EQ(GetConfigText(c.template_id, ConfigField::Title).rfind(c.title_start, 0), 0u)
            << c.template_id;
    }
    EXPECT_EQ(GetConfigText(107, ConfigField::Title), "");
    EXPECT_EQ(GetConfigText(111, ConfigField::Title), "");
    EXPECT_EQ(GetConfigFlags(106), 1u);
    EXPECT_EQ(GetConfigFlags(102), 0u);
    EXPECT_EQ(GetPicturePlacement(107), 12u);
    SetRunConfigBlock(nullptr);
}

}  // namespace
