#include "skerrit/dialogs/dialog_look_win.h"

#include <string>

#include "skerrit/startup/config_block.h"
#include "skerrit/panel/picture_panel_win.h"
#include "skerrit/resource.h"
#include "skerrit/run_state_win.h"

namespace {

void SetItemText(HWND dialog, int id, int template_id, ConfigField field) {
    SetDlgItemTextA(dialog, id, GetConfigText(template_id, field).c_str());
}

void SetTitle(HWND window, int template_id) {
    SetWindowTextA(window, GetConfigText(template_id, ConfigField::Title).c_str());
}

}  // namespace

HFONT CreateLinkFont() {
    return CreateFontA(8, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
}

void SetLinkFont(HWND dialog) {
    if (Handles().link_font != nullptr) {
        SendDlgItemMessageA(dialog, IDC_LINK, WM_SETFONT, reinterpret_cast<WPARAM>(Handles().link_font),
                            FALSE);
    }
}

void OpenConfigLink(int template_id) {
    const std::string link = GetConfigText(template_id, ConfigField::Link);
    if (link.empty()) return;
    ShellExecuteA(Handles().main_window, nullptr, link.c_str(), nullptr, nullptr, SW_SHOW);
}

void ApplyDialogTexts(HWND dialog, int template_id) {
    switch (template_id) {
        case IDD_WELCOME:
        case IDD_WELCOME_PICTURE:
            SetTitle(Handles().main_window, template_id);
            SetItemText(dialog, IDC_MESSAGE, template_id, ConfigField::Message);
            SetItemText(dialog, IDOK, template_id, ConfigField::FirstButton);
            SetItemText(dialog, IDCANCEL, template_id, ConfigField::SecondButton);
            SetItemText(dialog, IDC_LINK, template_id, ConfigField::Link);
            if (template_id == IDD_WELCOME_PICTURE) SetUpWelcomePicture(dialog);
            break;
        case IDD_REVIEW:
            SetTitle(dialog, template_id);
            SetItemText(dialog, IDC_MESSAGE, template_id, ConfigField::Message);
            SetItemText(dialog, IDCANCEL, template_id, ConfigField::SecondButton);
            ShowWindow(GetDlgItem(dialog, IDC_ITEM_LIST),
                       (GetConfigFlags(IDD_REVIEW) & 2u) != 0 ? SW_HIDE : SW_SHOW);
            break;
        case IDD_REMOVAL:
            SetTitle(dialog, template_id);
            SetItemText(dialog, IDC_MESSAGE, template_id, ConfigField::Message);
            SetItemText(dialog, IDCANCEL, template_id, ConfigField::SecondButton);
            break;
        case IDD_CANCELLED:
        case IDD_ERROR:
            SetTitle(dialog, template_id);
            SetItemText(dialog, IDC_MESSAGE, template_id, ConfigField::Message);
            SetItemText(dialog, IDOK, template_id, ConfigField::FirstButton);
            break;
        case IDD_RESTART:
            SetTitle(dialog, template_id);
            SetItemText(dialog, IDC_MESSAGE, template_id, ConfigField::Message);
            SetItemText(dialog, IDOK, template_id, ConfigField::FirstButton);
            SetItemText(dialog, IDC_RESTART_NOW, template_id, ConfigField::FirstOption);
            SetItemText(dialog, IDC_RESTART_LATER, template_id, ConfigField::SecondOption);
            break;
        case IDD_SHARED_FILE:
            SetTitle(dialog, template_id);
            SetItemText(dialog, IDC_MESSAGE, template_id, ConfigField::Message);
            SetItemText(dialog, IDOK, template_id, ConfigField::FirstButton);
            SetItemText(dialog, IDCANCEL, template_id, ConfigField::SecondButton);
            break;
        case IDD_ABOUT:
            SetTitle(dialog, template_id);
            SetItemText(dialog, IDC_MESSAGE, template_id, ConfigField::Message);
            SetItemText(dialog, IDOK, template_id, ConfigField::FirstButton);
            SetItemText(dialog, IDC_LINK, template_id, ConfigField::Link);
            break;
        default: break;
    }
}
