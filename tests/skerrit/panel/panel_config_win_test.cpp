// Pictures from the configuration block, the welcome dialog's set-up, and
// the panel's GDI bookkeeping.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "skerrit/startup/config_block.h"
#include "skerrit/panel/picture_panel_win.h"
#include "tests/skerrit/panel/panel_test_support_win.h"

namespace {

using dib_builder::Rgb;
using panel_test::PanelHost;
using panel_test::Render;

constexpr Rgb kRed{220, 20, 30};
constexpr Rgb kBlue{10, 40, 200};
constexpr COLORREF kBack = RGB(240, 240, 10);

// A configuration block whose records get the given pictures appended after
// the records; an empty picture leaves the record's offset 0.
class BlockBuilder {
public:
    BlockBuilder() : bytes_(config_layout::kMinBlockSize, 0) {
        std::memcpy(bytes_.data(), kConfigMarker, std::strlen(kConfigMarker));
    }
    BlockBuilder& Picture(int record, const std::vector<uint8_t>& packed) {
        WriteLe32(RecordAt(record) + config_layout::kPictureOffsetField,
                  static_cast<uint32_t>(bytes_.size()));
        bytes_.insert(bytes_.end(), packed.begin(), packed.end());
        return *this;
    }
    BlockBuilder& Placement(int record, uint16_t mode) {
        WriteLe16(RecordAt(record) + config_layout::kPlacementField, mode);
        return *this;
    }
    void Install() {
        WriteLe32(bytes_.data() + config_layout::kLengthOffset, static_cast<uint32_t>(bytes_.size()));
        std::unique_ptr<ConfigBlock> block = ConfigBlock::FromBytes(bytes_);
        ASSERT_NE(block, nullptr);
        SetRunConfigBlock(std::move(block));
    }

private:
    uint8_t* RecordAt(int record) {
        return bytes_.data() + config_layout::kHeaderSize + record * config_layout::kRecordSize;
    }
    std::vector<uint8_t> bytes_;
};

class ConfigPictureTest : public ::testing::Test {
protected:
    void TearDown() override { SetRunConfigBlock(nullptr); }
};

TEST_F(ConfigPictureTest, RecordWithoutPictureKeepsTheCurrentOne) {
    const std::vector<uint8_t> blue = dib_builder::Packed(dib_builder::Solid24(6, 6, kBlue));
    std::vector<uint8_t> cut = dib_builder::Packed(dib_builder::Solid24(6, 6, kBlue));
    cut[8] = 60;  // claims 60 rows; the block ends long before
    BlockBuilder().Picture(1, blue).Picture(2, cut).Install();

    PanelHost host(20, 20);
    host.Send(PPM_SETBACKCOLOR, 0, kBack);
    host.SendText(PPM_SETPICTUREFILE,
                  panel_test::WriteTempFile("red.bmp", dib_builder::BitmapFile(dib_builder::Solid24(4, 4, kRed))));
    ASSERT_EQ(Render(host.Panel()).Count(panel_test::Rgb(kRed)), 16);

    for (LPARAM record : {0, 3, 7, 8, -1, 1000}) {
        EXPECT_EQ(host.Send(PPM_SETCONFIGPICTURE, 0, record), 0);
        EXPECT_EQ(Render(host.Panel()).Count(panel_test::Rgb(kRed)), 16) << "record " << record;
    }

    host.Send(PPM_SETCONFIGPICTURE, 0, 1);
    const panel_test::Rendering fromBlock = Render(host.Panel());
    EXPECT_EQ(fromBlock.Count(panel_test::Rgb(kBlue)), 36);
    EXPECT_EQ(fromBlock.Count(panel_test::Rgb(kRed)), 0);

    // A picture reaching past the block's end replaces the old one with nothing.
    host.Send(PPM_SETCONFIGPICTURE, 0, 2);
    EXPECT_EQ(Render(host.Panel()).Count(kBack), 400);
}

TEST_F(ConfigPictureTest, WelcomePictureWithoutBlockStaysBlack) {
    SetRunConfigBlock(nullptr);
    PanelHost host(30, 40);
    SetUpWelcomePicture(host.Host());
    EXPECT_EQ(host.Send(PPM_GETBACKCOLOR), 0);
    EXPECT_EQ(Render(host.Panel()).Count(RGB(0, 0, 0)), 30 * 40);
}

TEST_F(ConfigPictureTest, WelcomePictureUsesRecordZero) {
    BlockBuilder()
        .Picture(0, dib_builder::Packed(dib_builder::Solid24(5, 5, kRed)))
        .Placement(0, 3)
        .Picture(1, dib_builder::Packed(dib_builder::Solid24(5, 5, kBlue)))
        .Placement(1, 14)
        .Install();
    PanelHost host(30, 40);
    SetUpWelcomePicture(host.Host());
    EXPECT_EQ(host.Send(PPM_GETBACKCOLOR), static_cast<LRESULT>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(host.Send(PPM_GETPICTUREPLACEMENT), 3);
    const panel_test::Rendering r = Render(host.Panel());
    EXPECT_EQ(r.Count(panel_test::Rgb(kRed)), 25);
    EXPECT_EQ(r.At(29, 39), panel_test::Rgb(kRed));  // right bottom
    EXPECT_EQ(r.At(0, 0), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ConfigPictureTest, NoGdiObjectOutlivesItsPanel) {
    BlockBuilder().Picture(0, dib_builder::Packed(dib_builder::Solid24(8, 8, kBlue))).Install();
    dib_builder::PictureDescription eight;
    eight.bits = 8;
    eight.width = 9;
    eight.height = 7;
    eight.colors.assign(256, kRed);
    const std::string paletted = panel_test::WriteTempFile("cycle8.bmp", dib_builder::BitmapFile(eight));
    const std::string deep =
        panel_test::WriteTempFile("cycle24.bmp", dib_builder::BitmapFile(dib_builder::Solid24(3, 5, kBlue)));

    auto cycle = [&](int placement) {
        PanelHost host(40, 30);
        host.Send(PPM_SETPICTUREPLACEMENT, placement);
        host.SendText(PPM_SETPICTUREFILE, paletted);
        host.SendText(PPM_SETFONT, "12,0,700,1,0,0,Arial");
        host.SendText(PPM_SETFONT, "14");
        host.SendText(PPM_SETTEXT, "A\\nB");
        Render(host.Panel());  // background colour
        host.SendText(PPM_SETBACKFILE, paletted);
        Render(host.Panel());  // background picture
        host.Send(PPM_SETCONFIGPICTURE, 0, 0);
        host.SendText(PPM_SETBACKFILE, deep);
        host.SendText(PPM_SETPICTUREFILE, deep);
        Render(host.Panel());
        host.Send(WM_QUERYNEWPALETTE);
        host.SendText(PPM_SETPICTUREFILE, paletted);
    };
    cycle(13);  // warm up caches that GDI fills once
    const unsigned before = panel_test::CountGdiObjects();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 60; ++i) cycle(i % 15 == 14 ? 100 : i % 15);
    EXPECT_EQ(panel_test::CountGdiObjects(), before);
}

}  // namespace
