#include "skerrit/config_block.h"
#include "skerrit/picture_panel_win.h"

namespace {
constexpr int kWelcomeWithPictureTemplate = 106;
constexpr int kPicturePanelControl = 1004;
constexpr int kWelcomeRecord = 0;
}  // namespace

void SetUpWelcomePicture(HWND welcomeDialog) {
    if (RunConfigBlock() == nullptr) return;
    const HWND panel = GetDlgItem(welcomeDialog, kPicturePanelControl);
    if (panel == nullptr) return;
    SendMessageA(panel, PPM_SETBACKCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_BTNFACE)));
    SendMessageA(panel, PPM_SETPICTUREPLACEMENT, GetPicturePlacement(kWelcomeWithPictureTemplate) & 0xFFFF, 0);
    SendMessageA(panel, PPM_SETCONFIGPICTURE, 0, kWelcomeRecord);
}
