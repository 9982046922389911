#include "ulmarsh/rename_form_win.h"

#include <cstdio>

#include "framework/forms_loop_win.h"
#include "ulmarsh/dos_datetime.h"
#include "ulmarsh/module1.h"
#include "ulmarsh/resource.h"
#include "ulmarsh/unzip_events.h"

namespace ulmarsh {
namespace {

using forms::Kind;

const forms::ControlSpec kControls[] = {
    {IDC_RN_LBL_ORIGNAME, Kind::Label, 0, 150, 1380, 252, IDC_RN_LBL_ORIGNAME, 0, 0, 0, 0, SS_RIGHT},
    {IDC_RN_ORIGNAME, Kind::DisplayBox, 1440, 120, 4320, 288, 0, 0, 0, 0, 0, WS_DISABLED},
    {IDC_RN_LBL_ITEMNAME, Kind::Label, 0, 510, 1380, 252, IDC_RN_LBL_ITEMNAME, 0, 0, 0, 0, SS_RIGHT},
    {IDC_RN_ITEMNAME, Kind::TextBox, 1440, 480, 4320, 288},
    {IDC_RN_LBL_DATETEXT, Kind::Label, 0, 870, 1380, 252, IDC_RN_LBL_DATETEXT, 0, 0, 0, 0, SS_RIGHT},
    {IDC_RN_DATETEXT, Kind::TextBox, 1440, 840, 1440, 288},
    {IDC_RN_LBL_TIMETEXT, Kind::Label, 3000, 870, 1200, 252, IDC_RN_LBL_TIMETEXT, 0, 0, 0, 0, SS_RIGHT},
    {IDC_RN_TIMETEXT, Kind::TextBox, 4320, 840, 1440, 288},
    {IDC_RN_ATTRFRAME, Kind::Frame, 120, 1260, 5640, 1320, IDC_RN_ATTRFRAME},
    {IDC_RN_READONLYCK, Kind::CheckBox, 240, 270, 1320, 252, IDC_RN_READONLYCK, 0, IDC_RN_ATTRFRAME},
    {IDC_RN_HIDDENCK, Kind::CheckBox, 240, 570, 1320, 252, IDC_RN_HIDDENCK, 0, IDC_RN_ATTRFRAME},
    {IDC_RN_SYSTEMCK, Kind::CheckBox, 240, 870, 1320, 252, IDC_RN_SYSTEMCK, 0, IDC_RN_ATTRFRAME},
    {IDC_RN_VOLNAMECK, Kind::CheckBox, 1800, 270, 1560, 252, IDC_RN_VOLNAMECK, 0, IDC_RN_ATTRFRAME,
     0, 0, WS_DISABLED},
    {IDC_RN_SUBDIRCK, Kind::CheckBox, 1800, 570, 1560, 252, IDC_RN_SUBDIRCK, 0, IDC_RN_ATTRFRAME,
     0, 0, WS_DISABLED},
    {IDC_RN_ARCHIVEDCK, Kind::CheckBox, 1800, 870, 1560, 252, IDC_RN_ARCHIVEDCK, 0, IDC_RN_ATTRFRAME},
    {IDC_RN_ENCRYPTEDCK, Kind::CheckBox, 3600, 270, 1560, 252, IDC_RN_ENCRYPTEDCK, 0,
     IDC_RN_ATTRFRAME, 0, 0, WS_DISABLED},
    {IDC_RN_LONGNAMECK, Kind::CheckBox, 3600, 570, 1560, 252, IDC_RN_LONGNAMECK, 0, IDC_RN_ATTRFRAME},
    {IDC_RN_DONE, Kind::DefaultButton, 2400, 2760, 1560, 360, IDC_RN_DONE},
    {IDC_RN_STOPRENAME, Kind::Button, 4200, 2760, 1560, 360, IDC_RN_STOPRENAME},
};

const forms::FormSpec kSpec = {"UlmarshRenameForm", IDS_RENAME_CAPTION, 5880, 3240, 0, kControls,
                               sizeof kControls / sizeof kControls[0]};

// Polling interval of the wait when no input arrives; input ends a wait at once.
constexpr DWORD kWaitSliceMs = 50;

// A typed date or time that cannot be used: the item keeps the control's word
// and the user is told so.
void TellKept(HWND owner, const std::string& caption, const std::string& format,
              const std::string& text) {
    char message[600];
    std::snprintf(message, sizeof message, format.c_str(), text.c_str());
    MessageBoxA(owner, message, caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

RenameForm::RenameForm(HINSTANCE instance) : forms::Form(instance, kSpec) {}

bool RenameForm::OnLoad() {
    OnClick(IDC_RN_DONE, [] { SharedState().RenameDone = kTrue; });
    OnClick(IDC_RN_STOPRENAME, [] { SharedState().StopRenaming = kTrue; });
    // The frame's close box answers like "&Done"; the form stays until read back.
    onCloseRequest = [] {
        SharedState().RenameDone = kTrue;
        return false;
    };
    return true;
}

void RenameForm::Fill(const RenameRequest& r) {
    SetText(IDC_RN_ORIGNAME, r.originalName);
    SetText(IDC_RN_ITEMNAME, r.itemName);
    SetText(IDC_RN_DATETEXT, FormatDosDate(r.date));
    SetText(IDC_RN_TIMETEXT, FormatDosTime(r.time));
    const AttributeTicks t = TicksFromAttributes(r.attributes);
    SetChecked(IDC_RN_READONLYCK, t.readOnly);
    SetChecked(IDC_RN_ARCHIVEDCK, t.archive);
    SetChecked(IDC_RN_SYSTEMCK, t.system);
    SetChecked(IDC_RN_HIDDENCK, t.hidden);
    SetChecked(IDC_RN_VOLNAMECK, t.volumeLabel);
    SetChecked(IDC_RN_SUBDIRCK, t.directory);
    SetChecked(IDC_RN_ENCRYPTEDCK, t.encrypted);
    SetChecked(IDC_RN_LONGNAMECK, t.longName);
}

void RenameForm::WaitForAnswer() {
    const Module1& m = SharedState();
    while (!m.RenameDone && !m.StopRenaming && Loaded()) {
        if (!forms::DoEvents()) break;
        if (m.RenameDone || m.StopRenaming) break;
        forms::WaitForInput(kWaitSliceMs);
    }
}

void RenameForm::ReadBack(RenameRequest& r) {
    r.itemName = Text(IDC_RN_ITEMNAME);
    const std::string dateText = Text(IDC_RN_DATETEXT);
    const std::string timeText = Text(IDC_RN_TIMETEXT);
    const DosWordText date = ReadDosDate(dateText);
    const DosWordText time = ReadDosTime(timeText);
    // A word the control sent outside the DOS ranges shows as it is; left
    // untouched it is kept without a message.
    const bool dateEdited = dateText != FormatDosDate(r.date);
    const bool timeEdited = timeText != FormatDosTime(r.time);
    if (date.status == DosWordText::Read) r.date = date.word;
    if (time.status == DosWordText::Read) r.time = time.word;

    AttributeTicks t;
    t.readOnly = Checked(IDC_RN_READONLYCK);
    t.hidden = Checked(IDC_RN_HIDDENCK);
    t.system = Checked(IDC_RN_SYSTEMCK);
    t.volumeLabel = Checked(IDC_RN_VOLNAMECK);
    t.directory = Checked(IDC_RN_SUBDIRCK);
    t.archive = Checked(IDC_RN_ARCHIVEDCK);
    t.encrypted = Checked(IDC_RN_ENCRYPTEDCK);
    t.longName = Checked(IDC_RN_LONGNAMECK);
    r.attributes = AttributesFromTicks(t);

    const std::string caption = LoadText(IDS_RENAME_CAPTION);
    if (date.status == DosWordText::Unreadable)
        TellKept(hwnd(), caption, LoadText(IDS_BAD_DATE), dateText);
    else if (date.status == DosWordText::OutOfRange && dateEdited)
        TellKept(hwnd(), caption, LoadText(IDS_DATE_OUT_OF_RANGE), dateText);
    if (time.status == DosWordText::Unreadable)
        TellKept(hwnd(), caption, LoadText(IDS_BAD_TIME), timeText);
    else if (time.status == DosWordText::OutOfRange && timeEdited)
        TellKept(hwnd(), caption, LoadText(IDS_TIME_OUT_OF_RANGE), timeText);
}

bool RenameForm::Ask(HWND owner, RenameRequest& request) {
    Module1& m = SharedState();
    if (m.StopRenaming) return false;
    m.RenameDone = kFalse;
    m.RenameInProgress = kTrue;

    bool answered = false;
    if (Load(owner)) {
        Show();
        Fill(request);
        WaitForAnswer();
        // Only a form that still stands holds the user's edits.
        if (Loaded()) {
            ReadBack(request);
            answered = true;
        }
        Unload();
    }
    m.RenameInProgress = kFalse;
    return answered;
}

}  // namespace ulmarsh
