// The real uninstaller with a 256-colour picture attached to record 0 by the
// configuration tool: the welcome dialog with picture shows it in its panel.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "tests/driver/e2e_driver.h"
#include "tests/skerrit/panel/dib_builder.h"
#include "tests/skerrit/skerrit_e2e_support_win.h"

namespace {

constexpr int kPictureWidth = 80;
constexpr int kPictureHeight = 120;
constexpr int kSunIndex = 192;
constexpr int kSunRadius = 24;
constexpr int kGroundIndex = 128;
constexpr int kGroundRow = 84;

// Sky gradient (0-127), ground greens (128-191), sun from yellow to orange (192-255).
std::vector<dib_builder::Rgb> LandscapePalette() {
    std::vector<dib_builder::Rgb> colors(256);
    for (int i = 0; i < 128; ++i) {
        colors[i] = {static_cast<uint8_t>(40 + i), static_cast<uint8_t>(90 + i), 230};
    }
    for (int i = 0; i < 64; ++i) colors[128 + i] = {20, static_cast<uint8_t>(150 - i), 40};
    for (int i = 0; i < 64; ++i) colors[192 + i] = {255, static_cast<uint8_t>(220 - i * 2), 40};
    return colors;
}

// Rows top down in the description; stored bottom up as bitmaps are, plain
// or run-length encoded (RLE8).
std::vector<uint8_t> LandscapeBitmapFile(bool runLength = false) {
    dib_builder::PictureDescription s;
    s.width = kPictureWidth;
    s.height = kPictureHeight;
    s.bits = 8;
    s.colors = LandscapePalette();
    const uint32_t stride = dib_builder::Stride(kPictureWidth, 8);
    s.pixels.assign(stride * kPictureHeight, 0);
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const int dx = x - kPictureWidth / 2;
            const int dy = y - kPictureHeight / 2;
            const int distance2 = dx * dx + dy * dy;
            int index = y * 127 / kPictureHeight;
            if (y >= kGroundRow) index = kGroundIndex + (y - kGroundRow) * 59 / (kPictureHeight - kGroundRow) + (x % 4);
            if (distance2 <= kSunRadius * kSunRadius) index = kSunIndex + distance2 * 63 / (kSunRadius * kSunRadius);
            s.pixels[(kPictureHeight - 1 - y) * stride + x] = static_cast<uint8_t>(index);
        }
    }
    if (runLength) {
        dib_builder::IndexPicture picture;
        picture.width = kPictureWidth;
        picture.height = kPictureHeight;
        for (int y = 0; y < kPictureHeight; ++y) {
            picture.indices.insert(picture.indices.end(), s.pixels.begin() + y * stride,
                                   s.pixels.begin() + y * stride + kPictureWidth);
        }
        std::mt19937 random(11);
        s.compression = 1;
        s.pixels = dib_builder::RunLengthEncode(picture, random);
    }
    return dib_builder::BitmapFile(s);
}

bool IsSunColour(COLORREF c) { return GetRValue(c) == 255 && GetBValue(c) == 40; }
bool IsSkyColour(COLORREF c) { return GetBValue(c) == 230; }

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return color;
}

class WelcomePicture : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = skerrit_e2e::TempFolder() + "skerh8pic.exe";
        picture_ = skerrit_e2e::TempFolder() + "h8landscape.bmp";
        ASSERT_TRUE(skerrit_e2e::CopySkerritTo(exe_));
        const std::vector<uint8_t> bytes = LandscapeBitmapFile();
        ASSERT_TRUE(e2e::WriteFile(picture_, std::string(bytes.begin(), bytes.end())));
    }
    void TearDown() override {
        process_.Kill();
        process_.Wait(5000);
        DeleteFileA(exe_.c_str());
        DeleteFileA(picture_.c_str());
    }
    int RunTool(const std::string& args) {
        e2e::Process tool = e2e::Start(e2e::BinPath("tvcfg.exe"), args);
        DWORD code = 99;
        if (!tool.valid() || !tool.Wait(20000, &code)) return -1;
        return static_cast<int>(code);
    }
    // Starts the edited copy and waits until it has painted and waits for input.
    HWND StartAndFindPanel() {
        process_ = e2e::Start(exe_, "");
        main_ = skerrit_e2e::WaitForMainWindow(process_.pid());
        if (main_ == nullptr) return nullptr;
        HWND panel = e2e::Control(skerrit_e2e::WelcomeDialogOf(main_), 1004);
        if (panel == nullptr) return nullptr;
        WaitForInputIdle(process_.handle(), 5000);
        RECT client{};
        GetClientRect(panel, &client);
        // The panel paints black until it is set up; the dialog behind it is button face.
        e2e::WaitUntil([&] { return ScreenPixel(panel, client.right / 2, client.bottom / 2) != RGB(0, 0, 0); },
                       3000);
        Sleep(300);
        return panel;
    }
    void Cancel() {
        ASSERT_TRUE(e2e::ClickButton(skerrit_e2e::WelcomeDialogOf(main_), 2));
        DWORD code = 99;
        ASSERT_TRUE(process_.Wait(10000, &code));
        EXPECT_EQ(code, 0u);
    }

    std::string exe_;
    std::string picture_;
    e2e::Process process_;
    HWND main_ = nullptr;
};

TEST_F(WelcomePicture, AttachedPictureIsCentredOnTheButtonFace) {
    ASSERT_EQ(RunTool("attach-picture " + exe_ + " 0 " + picture_), 0);
    ASSERT_EQ(RunTool("set-flags " + exe_ + " 0 1"), 0);
    HWND panel = StartAndFindPanel();
    ASSERT_NE(panel, nullptr);
    RECT client{};
    GetClientRect(panel, &client);
    // Placement 12, as shipped: the picture is smaller than the panel, so it is centred.
    ASSERT_GT(client.right, kPictureWidth);
    ASSERT_GT(client.bottom, kPictureHeight);
    EXPECT_TRUE(IsSunColour(ScreenPixel(panel, client.right / 2, client.bottom / 2)));
    EXPECT_EQ(ScreenPixel(panel, 1, 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ScreenPixel(panel, client.right - 2, client.bottom - 2), GetSysColor(COLOR_BTNFACE));
    const int top = (client.bottom - kPictureHeight) / 2;
    EXPECT_TRUE(IsSkyColour(ScreenPixel(panel, client.right / 2, top + 1)));
    e2e::ScreenshotIfRequested("skerrit-picture", main_);
    Cancel();
}

TEST_F(WelcomePicture, RunLengthPictureIsShownAsTheToolStoredIt) {
    const std::vector<uint8_t> bytes = LandscapeBitmapFile(true);
    ASSERT_TRUE(e2e::WriteFile(picture_, std::string(bytes.begin(), bytes.end())));
    ASSERT_EQ(RunTool("attach-picture " + exe_ + " 0 " + picture_), 0);
    ASSERT_EQ(RunTool("set-flags " + exe_ + " 0 1"), 0);
    HWND panel = StartAndFindPanel();
    ASSERT_NE(panel, nullptr);
    RECT client{};
    GetClientRect(panel, &client);
    const int left = (client.right - kPictureWidth) / 2;
    const int top = (client.bottom - kPictureHeight) / 2;
    EXPECT_TRUE(IsSunColour(ScreenPixel(panel, client.right / 2, client.bottom / 2)));
    EXPECT_TRUE(IsSkyColour(ScreenPixel(panel, left + 1, top + 1)));
    // The bottom row is the stream's first: ground green.
    const COLORREF ground = ScreenPixel(panel, left + 1, top + kPictureHeight - 1);
    EXPECT_EQ(GetRValue(ground), 20);
    EXPECT_EQ(GetBValue(ground), 40);
    EXPECT_EQ(ScreenPixel(panel, 1, 1), GetSysColor(COLOR_BTNFACE));
    Cancel();
}

TEST_F(WelcomePicture, RecordPlacementStretchesThePicture) {
    ASSERT_EQ(RunTool("attach-picture " + exe_ + " 0 " + picture_), 0);
    ASSERT_EQ(RunTool("set-placement " + exe_ + " 0 14"), 0);
    ASSERT_EQ(RunTool("set-flags " + exe_ + " 0 1"), 0);
    HWND panel = StartAndFindPanel();
    ASSERT_NE(panel, nullptr);
    RECT client{};
    GetClientRect(panel, &client);
    EXPECT_TRUE(IsSkyColour(ScreenPixel(panel, 1, 1)));
    EXPECT_TRUE(IsSunColour(ScreenPixel(panel, client.right / 2, client.bottom / 2)));
    Cancel();
}

TEST_F(WelcomePicture, WithoutPictureThePanelShowsTheButtonFace) {
    ASSERT_EQ(RunTool("set-flags " + exe_ + " 0 1"), 0);
    HWND panel = StartAndFindPanel();
    ASSERT_NE(panel, nullptr);
    RECT client{};
    GetClientRect(panel, &client);
    EXPECT_EQ(ScreenPixel(panel, client.right / 2, client.bottom / 2), GetSysColor(COLOR_BTNFACE));
    Cancel();
}

}  // namespace
