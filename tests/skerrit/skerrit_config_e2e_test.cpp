// skerrit edited with the configuration tool: the block decides the texts and
// the welcome template of the real program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/e2e_driver.h"
#include "tests/skerrit/skerrit_e2e_support_win.h"

using namespace skerrit_e2e;

namespace {

int RunTool(const std::string& args) {
    e2e::Process tool = e2e::Start(e2e::BinPath("tvcfg.exe"), args);
    DWORD code = 99;
    if (!tool.valid() || !tool.Wait(20000, &code)) return -1;
    return static_cast<int>(code);
}

class EditedSkerrit : public ::testing::Test {
protected:
    // Started as the temporary copy (/X), it runs in place whatever its switches.
    std::string MakeCopy(const std::string& name) {
        const std::string exe = TempFolder() + name;
        EXPECT_TRUE(CopySkerritTo(exe));
        copies_.push_back(exe);
        return exe;
    }
    void TearDown() override {
        process_.Kill();
        process_.Wait(5000);
        for (const std::string& exe : copies_) DeleteFileA(exe.c_str());
    }
    HWND StartAndWaitForMain(const std::string& exe, const std::string& args = "") {
        process_ = e2e::Start(exe, args + " /X");
        return WaitForMainWindow(process_.pid());
    }
    void CancelWelcome(HWND main) {
        ASSERT_TRUE(e2e::ClickButton(WelcomeDialogOf(main), 2));
        DWORD code = 99;
        ASSERT_TRUE(process_.Wait(10000, &code));
        EXPECT_EQ(code, 0u);
    }
    std::vector<std::string> copies_;
    e2e::Process process_;
};

TEST_F(EditedSkerrit, WithoutItsMarkerItRunsWithEmptyTextsAndThePlainWelcome) {
    const std::string exe = MakeCopy("skerh1nomark.exe");
    ASSERT_EQ(RunTool("set-flags " + exe + " 0 1"), 0);  // would pick 106 if the block were found
    ASSERT_EQ(RunTool("remove-marker " + exe), 0);
    HWND main = StartAndWaitForMain(exe);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(e2e::WindowText(main), "");
    HWND welcome = WelcomeDialogOf(main);
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(e2e::Control(welcome, 1004), nullptr);
    for (int id : {1, 2, 1001, 1002}) EXPECT_EQ(e2e::ControlText(welcome, id), "") << id;

    e2e::PostSystemCommand(main, 2024);
    HWND about = WaitForDialog(process_.pid(), "");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(e2e::ControlText(about, 1002), "");
    EXPECT_EQ(e2e::ControlText(about, 1), "");
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(e2e::WaitForWindowGone(about));
    CancelWelcome(main);
}

TEST_F(EditedSkerrit, FlagBitZeroOfRecordZeroSelectsTheWelcomeWithPicture) {
    const std::string with_picture = MakeCopy("skerh1flag0.exe");
    ASSERT_EQ(RunTool("set-flags " + with_picture + " 0 1"), 0);
    ASSERT_EQ(RunTool("set-text " + with_picture + " 0 title \"Picture Welcome\""), 0);
    HWND main = StartAndWaitForMain(with_picture);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(e2e::WindowText(main), "Picture Welcome");
    HWND welcome = WelcomeDialogOf(main);
    HWND panel = e2e::Control(welcome, 1004);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(e2e::ClassName(panel), "TVCustomEventPIC");
    EXPECT_EQ(e2e::ControlText(welcome, 1), "Continue...");
    e2e::ScreenshotIfRequested("skerrit_welcome_picture", main);
    CancelWelcome(main);
}

// A 200 x 200 8-bit picture in one colour: larger than the panel, so the
// shipped placement (12) stretches it over the whole panel.
std::string SolidBmpFile(BYTE red, BYTE green, BYTE blue) {
    const int side = 200;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = side;
    header.biHeight = side;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biClrUsed = 2;
    const RGBQUAD colours[2] = {{0, 0, 0, 0}, {blue, green, red, 0}};
    const std::string pixels(static_cast<std::size_t>(side) * side, '\x01');
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header) + sizeof(colours);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&header), sizeof(header));
    bytes.append(reinterpret_cast<const char*>(colours), sizeof(colours));
    return bytes + pixels;
}

TEST_F(EditedSkerrit, PictureAttachedByTheToolFillsTheWelcomePanel) {
    const std::string exe = MakeCopy("skerh1pic.exe");
    const std::string bmp = TempFolder() + "h1pic.bmp";
    copies_.push_back(bmp);
    ASSERT_TRUE(e2e::WriteFile(bmp, SolidBmpFile(255, 0, 0)));
    ASSERT_EQ(RunTool("attach-picture " + exe + " 0 " + bmp), 0);
    ASSERT_EQ(RunTool("set-flags " + exe + " 0 1"), 0);
    HWND main = StartAndWaitForMain(exe);
    ASSERT_NE(main, nullptr);
    HWND panel = e2e::Control(WelcomeDialogOf(main), 1004);
    ASSERT_NE(panel, nullptr);
    // The screen is read, so nothing may cover the window (a console window
    // of the tool can linger under Wine).
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    InvalidateRect(panel, nullptr, TRUE);
    RECT area;
    GetWindowRect(panel, &area);
    const POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    COLORREF seen = CLR_INVALID;
    const bool red = e2e::WaitUntil(
        [&] {
            HDC screen = GetDC(nullptr);
            seen = GetPixel(screen, centre.x, centre.y);
            ReleaseDC(nullptr, screen);
            return seen == RGB(255, 0, 0);
        },
        8000);
    EXPECT_TRUE(red) << std::hex << seen;
    e2e::ScreenshotIfRequested("skerrit_welcome_with_picture", main);
    CancelWelcome(main);
}

TEST_F(EditedSkerrit, FlagBitZeroOfAnotherRecordChangesNothing) {
    const std::string exe = MakeCopy("skerh1flag3.exe");
    ASSERT_EQ(RunTool("set-flags " + exe + " 3 1"), 0);
    HWND main = StartAndWaitForMain(exe);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(e2e::Control(WelcomeDialogOf(main), 1004), nullptr);
    EXPECT_EQ(e2e::WindowText(main), "Varnex-AX Uninstaller");
    CancelWelcome(main);
}

TEST_F(EditedSkerrit, ToolRefusesBadInputWithoutTouchingTheExecutable) {
    const std::string exe = MakeCopy("skerh1bad.exe");
    std::string before;
    ASSERT_TRUE(e2e::ReadFile(exe, &before));
    EXPECT_EQ(RunTool("set-flags " + exe + " 9 1"), 2);
    EXPECT_EQ(RunTool("set-text " + exe + " 0 button1 \"" + std::string(40, 'x') + "\""), 2);
    EXPECT_EQ(RunTool("attach-picture " + exe + " 0 " + exe), 2);
    EXPECT_EQ(RunTool("bogus " + exe), 1);
    std::string after;
    ASSERT_TRUE(e2e::ReadFile(exe, &after));
    EXPECT_TRUE(before == after);
    EXPECT_FALSE(e2e::FileExists(exe + ".tvcfg-new"));
}

TEST_F(EditedSkerrit, ClickOnTheLinkLineOpensTheRecordsLinkThroughTheShell) {
    const std::string exe = MakeCopy("skerh1link.exe");
    const std::string script = TempFolder() + "h1link.cmd";
    const std::string marker = TempFolder() + "h1link.txt";
    DeleteFileA(marker.c_str());
    ASSERT_TRUE(e2e::WriteFile(script, "@echo clicked> \"" + marker + "\"\r\n"));
    copies_.push_back(script);
    copies_.push_back(marker);
    ASSERT_EQ(RunTool("set-text " + exe + " 0 link \"" + script + "\""), 0);
    HWND main = StartAndWaitForMain(exe);
    ASSERT_NE(main, nullptr);
    HWND welcome = WelcomeDialogOf(main);
    EXPECT_EQ(e2e::ControlText(welcome, 1001), script);
    PostMessageA(welcome, WM_COMMAND, MAKEWPARAM(1001, STN_CLICKED),
                 reinterpret_cast<LPARAM>(e2e::Control(welcome, 1001)));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::FileExists(marker); }, 15000));
    CancelWelcome(main);
}

TEST_F(EditedSkerrit, CutLogPathIsNeverWrittenIntoTheUninstallEntry) {
    const std::string exe = MakeCopy("skerh1cut.exe");
    const std::string params = TempFolder() + "h1cut.ini";
    copies_.push_back(params);
    DeleteUninstallEntry("H1 Cut Product");
    process_ = e2e::Start(exe, "/I /N H1 Cut Product /L C:\\" + std::string(300, 'l') + " /R " + params);
    DWORD code = 99;
    ASSERT_TRUE(process_.Wait(15000, &code));
    EXPECT_EQ(code, 2u);
    EXPECT_EQ(e2e::ReadIni(params, "TVRTP", "ExitCode"), "2");
    EXPECT_FALSE(UninstallEntryExists("H1 Cut Product"));
}

TEST_F(EditedSkerrit, LogPathThatFitsBetweenItsBlanksIsWrittenWhole) {
    const std::string exe = MakeCopy("skerh1fit.exe");
    const std::string params = TempFolder() + "h1fit.ini";
    copies_.push_back(params);
    DeleteUninstallEntry("H1 Fit Product");
    // " <log> " is one character longer than the value limit; only the blank is dropped.
    const std::string log = "C:\\" + std::string(255, 'l');
    process_ = e2e::Start(exe, "/I /L " + log + " /N H1 Fit Product /R " + params);
    DWORD code = 99;
    ASSERT_TRUE(process_.Wait(15000, &code));
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(e2e::ReadIni(params, "TVRTP", "ExitCode"), "1");
    EXPECT_NE(RegistryString("H1 Fit Product", "UninstallString").find(" /L " + log + " /N H1 Fit Product /Z 1"),
              std::string::npos);
    DeleteUninstallEntry("H1 Fit Product");
}

TEST(ShippedSkerrit, SearchKeyPrecedesTheBlockAndOccursNowhereElse) {
    std::string image;
    ASSERT_TRUE(e2e::ReadFile(e2e::BinPath("skerrit.exe"), &image));
    std::vector<std::size_t> hits;
    for (std::size_t at = image.find("Config Marker"); at != std::string::npos;
         at = image.find("Config Marker", at + 1)) {
        hits.push_back(at);
    }
    ASSERT_EQ(hits.size(), 2u);
    // The second hit is the block, right after the section's 12-byte header.
    ASSERT_GE(hits[1], 12u);
    EXPECT_EQ(image.compare(hits[1] - 12, 4, "TVC1"), 0);
    EXPECT_EQ(image.compare(hits[1] + 13, 3, std::string(3, '\0')), 0);
    EXPECT_EQ(RunTool("validate " + e2e::BinPath("skerrit.exe")), 0);
}

TEST(ShippedSkerrit, ConfigSectionIsReadableDiscardableInitialisedData) {
    std::string image;
    ASSERT_TRUE(e2e::ReadFile(e2e::BinPath("skerrit.exe"), &image));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    DWORD characteristics = 0;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (std::string(reinterpret_cast<const char*>(section->Name), 8).rfind("tvconfig", 0) == 0) {
            characteristics = section->Characteristics;
        }
    }
    EXPECT_EQ(characteristics, static_cast<DWORD>(IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_MEM_READ |
                                                  IMAGE_SCN_MEM_DISCARDABLE));
}

}  // namespace
