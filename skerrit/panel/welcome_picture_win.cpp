#include "skerrit/startup/config_block.h"
#include "skerrit/panel/picture_panel_win.h"
#include "skerrit/resource.h"

namespace {
constexpr int kWelcomeRecord = 0;
}  // namespace

void SetUpWelcomePicture(HWND welcomeDialog) {
    if (RunConfigBlock() == nullptr) return;
    const HWND panel = GetDlgItem(welcomeDialog, IDC_PICTURE);
    if (panel == nullptr) return;
    SendMessageA(panel, PPM_SETBACKCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_BTNFACE)));
    SendMessageA(panel, PPM_SETPICTUREPLACEMENT, GetPicturePlacement(IDD_WELCOME_PICTURE) & 0xFFFF, 0);
    SendMessageA(panel, PPM_SETCONFIGPICTURE, 0, kWelcomeRecord);
}
