#include "ulmarsh/string_form_win.h"

#include "ulmarsh/main_form_win.h"
#include "ulmarsh/module1.h"
#include "ulmarsh/number_text.h"
#include "ulmarsh/resource.h"

namespace ulmarsh {
namespace {

using forms::Kind;

constexpr DWORD kMultiLine = ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL;

const forms::ControlSpec kControls[] = {
    {IDC_SF_LABEL1, Kind::Label, 360, 120, 732, 252, IDC_SF_LABEL1},
    {IDC_SF_ZIPFILE, Kind::TextBox, 1200, 120, 4092, 288},
    {IDC_SF_COMMAND1, Kind::Button, 5400, 120, 972, 312, IDC_SF_COMMAND1},
    {IDC_SF_LABEL2, Kind::Label, 240, 480, 852, 252, IDC_SF_LABEL2},
    {IDC_SF_ITEMNAME, Kind::TextBox, 1200, 480, 4092, 288},
    {IDC_SF_LABEL4, Kind::Label, 0, 840, 1092, 252, IDC_SF_LABEL4},
    {IDC_SF_STARTINGOFFSET, Kind::TextBox, 1200, 840, 972, 288, IDC_SF_STARTINGOFFSET},
    {IDC_SF_LABEL5, Kind::Label, 2400, 840, 1572, 252, IDC_SF_LABEL5},
    {IDC_SF_CHARSTOUNZIP, Kind::TextBox, 4080, 840, 1212, 288},
    {IDC_SF_LABEL6, Kind::Label, 2760, 1200, 1092, 252, IDC_SF_LABEL6},
    {IDC_SF_RETURNCOUNT, Kind::DisplayBox, 4080, 1200, 1212, 288},
    {IDC_SF_FRAME1, Kind::Frame, 120, 1560, 6252, 2292, IDC_SF_FRAME1},
    {IDC_SF_UNZIPSTRING, Kind::TextBox, 120, 240, 6012, 1932, 0, 0, IDC_SF_FRAME1, 0, 0, kMultiLine},
    {IDC_SF_LABEL3, Kind::Label, 120, 3960, 1092, 252, IDC_SF_LABEL3},
    {IDC_SF_RETURNVALUE, Kind::DisplayBox, 1440, 3960, 612, 288},
    {IDC_SF_UNZIPIT, Kind::Button, 5160, 3960, 1212, 312, IDC_SF_UNZIPIT},
};

const forms::FormSpec kSpec = {"UlmarshStringForm", IDS_STRING_CAPTION, 6435, 4320, 0, kControls,
                               sizeof kControls / sizeof kControls[0]};

}  // namespace

StringForm::StringForm(HINSTANCE instance, MainForm& main)
    : forms::Form(instance, kSpec), main_(main) {}

bool StringForm::OnLoad() {
    SetText(IDC_SF_ITEMNAME, LoadText(IDS_ITEMNAME_DEFAULT));
    SetText(IDC_SF_ZIPFILE, main_.Text(IDC_ZIPFILE));
    SetText(IDC_SF_RETURNVALUE, "");
    SetText(IDC_SF_RETURNCOUNT, "");
    SetText(IDC_SF_CHARSTOUNZIP, LoadText(IDS_CHARS_DEFAULT));
    SetRunEnabled(!SharedState().RunInProgress);

    OnClick(IDC_SF_COMMAND1, [this] { Browse(); });
    OnClick(IDC_SF_UNZIPIT, [this] { RunStringUnzip(); });
    return true;
}

void StringForm::SetRunEnabled(bool enabled) {
    if (Loaded()) Enable(IDC_SF_UNZIPIT, enabled);
}

void StringForm::Browse() {
    forms::CommonDialog& dialog = main_.CommonDialog1();
    dialog.FileName = Text(IDC_SF_ZIPFILE);
    dialog.ShowOpen(hwnd());
    SetText(IDC_SF_ZIPFILE, dialog.FileName);
    SetText(IDC_SF_UNZIPSTRING, "");
}

void StringForm::RunStringUnzip() {
    if (SharedState().RunInProgress) return;
    const auto offset = ParseInt32(Text(IDC_SF_STARTINGOFFSET));
    if (!offset) {
        main_.ReportBadNumber(IDS_NAME_STARTINGOFFSET, INT32_MIN, INT32_MAX, hwnd());
        return;
    }
    const auto chars = ParseInt32(Text(IDC_SF_CHARSTOUNZIP));
    if (!chars) {
        main_.ReportBadNumber(IDS_NAME_CHARSTOUNZIP, INT32_MIN, INT32_MAX, hwnd());
        return;
    }
    UnzipOptionInputs in;
    if (!main_.ReadOptionInputs(in)) return;

    PropertySession session;
    main_.BeginRun();
    const StringRunResultTexts r =
        RunUnzipToString(session, SharedState(), main_.Targets(), in, Text(IDC_SF_ZIPFILE),
                         Text(IDC_SF_ITEMNAME), *offset, *chars);
    if (r.completed) {
        // This form may have been closed during the run (from a prompt the run
        // raised); the main form's boxes still show the run's results.
        const bool shown = Loaded();
        ShowResult(main_, IDC_RETURNVALUE, r.returnValue);
        if (shown) ShowResult(*this, IDC_SF_RETURNVALUE, r.returnValue);
        ShowResult(main_, IDC_VXCOUNT, r.count);
        if (shown) {
            ShowResult(*this, IDC_SF_RETURNCOUNT, r.returnCount);
            ShowResult(*this, IDC_SF_UNZIPSTRING, r.unzipString);
        }
        main_.ShowItemInfoTexts(r.item);
    }
    main_.EndRun(session, r.completed, Loaded() ? hwnd() : main_.hwnd());
}

}  // namespace ulmarsh
