#include "ulmarsh/main_form_win.h"

#include <cstdio>

#include "framework/forms_menu_win.h"
#include "framework/vxcontrols.h"
#include "ulmarsh/about_form_win.h"
#include "ulmarsh/close_request.h"
#include "ulmarsh/main_form_layout_win.h"
#include "ulmarsh/module1.h"
#include "ulmarsh/number_text.h"
#include "ulmarsh/rename_form_win.h"
#include "ulmarsh/resource.h"
#include "ulmarsh/string_form_win.h"

namespace ulmarsh {

void ShowResult(forms::Form& form, int id, const ResultText& text) {
    form.SetText(id, text.value_or(std::string()));
}

MainForm::MainForm(HINSTANCE instance)
    : forms::Form(instance, MainFormSpec()),
      rename_(std::make_unique<RenameForm>(instance)),
      stringForm_(std::make_unique<StringForm>(instance, *this)),
      about_(std::make_unique<AboutForm>(instance)),
      events_(std::make_unique<UnzipEventHandlers>(*this, majorProps_, minorProps_)) {}

MainForm::~MainForm() { Unload(); }

bool MainForm::CreateHostedControls() {
    HRESULT hr = unzipSite_.CreateByProgId(hwnd(), vx::kUnzipProgId, vx::ControlPlacement{});
    if (SUCCEEDED(hr)) hr = unzipSite_.ConnectEvents([this](DISPID id, DISPPARAMS* params) {
        return vx::DispatchEvent(*events_, id, params);
    });
    if (SUCCEEDED(hr))
        hr = majorSite_.CreateByProgId(hwnd(), vx::kStatusProgId,
                                       vx::ControlPlacement{true, PixelRect(IDC_MAJORSTATUSCTRL)});
    if (SUCCEEDED(hr))
        hr = minorSite_.CreateByProgId(hwnd(), vx::kStatusProgId,
                                       vx::ControlPlacement{true, PixelRect(IDC_MINORSTATUSCTRL)});
    if (FAILED(hr)) {
        char message[512];
        std::snprintf(message, sizeof message, LoadText(IDS_CONTROL_FAILED).c_str(),
                      static_cast<unsigned long>(hr));
        MessageBoxA(nullptr, message, LoadText(IDS_MAIN_CAPTION).c_str(), MB_OK | MB_ICONSTOP);
        ReleaseControls();
        return false;
    }
    unzipProps_.Attach(unzipSite_.Dispatch());
    majorProps_.Attach(majorSite_.Dispatch());
    minorProps_.Attach(minorSite_.Dispatch());
    return true;
}

void MainForm::ReleaseControls() {
    unzipProps_.Attach(nullptr);
    majorProps_.Attach(nullptr);
    minorProps_.Attach(nullptr);
    unzipSite_.Destroy();
    majorSite_.Destroy();
    minorSite_.Destroy();
}

bool MainForm::OnLoad() {
    // Without its controls the form does not come up: there is nothing to test.
    if (!CreateHostedControls()) return false;

    Select(IDC_VXFUNCTION, 0);
    Select(IDC_FRESHENUPDATE, 0);
    SharedState().CancelRequested = kFalse;
    SetChecked(IDC_MAJORSTATUS, true);
    SetChecked(IDC_MINORSTATUS, true);
    SetChecked(IDC_MINORCANCEL, true);

    commonDialog1_.DialogTitle = LoadText(IDS_BROWSE_TITLE);
    commonDialog1_.Filter = LoadText(IDS_BROWSE_FILTER);

    OnClick(IDC_VXUNZIPBTN, [this] { RunSelectedFunction(); });
    OnClick(IDC_VXCANCEL, [] { SharedState().CancelRequested = kTrue; });
    OnClick(IDC_BROWSE, [this] { BrowseForArchive(); });
    OnItemCheck(IDC_MOREOPTIONS, [](int item) { ToggleOptionState(SharedState(), item); });
    OnClick(IDM_IGNORELONGNAMES, [this] { forms::ToggleMenuItemCheck(hwnd(), IDM_IGNORELONGNAMES); });
    OnClick(IDM_MANGLELONGNAMES, [this] { forms::ToggleMenuItemCheck(hwnd(), IDM_MANGLELONGNAMES); });
    OnClick(IDC_USEEXTERNALPROGRESS, [this] { ApplyExternalProgressState(); });
    OnClick(IDM_UNZIPSTRING, [this] { OpenStringForm(); });
    OnClick(IDM_ABOUT, [this] { OpenAbout(); });
    OnClick(IDM_EXIT, [this] { PostMessageA(hwnd(), WM_CLOSE, 0, 0); });
    onCloseRequest = [this] { return CloseRequest(); };
    onUnload = [this] { ReleaseControls(); };
    return true;
}

bool MainForm::ReadOptionInputs(UnzipOptionInputs& in) {
    const auto index = ParseInt16(Text(IDC_VXINDEX));
    if (!index) {
        ReportBadNumber(IDS_NAME_VXINDEX, INT16_MIN, INT16_MAX, hwnd());
        return false;
    }
    const Module1& m = SharedState();
    for (int i = 0; i < kOptionStateCount; ++i) in.optionStates[i] = m.OptionStates[i];
    in.ignoreLongNames = forms::MenuItemChecked(hwnd(), IDM_IGNORELONGNAMES);
    in.mangleLongNames = forms::MenuItemChecked(hwnd(), IDM_MANGLELONGNAMES);
    in.majorStatus = Checked(IDC_MAJORSTATUS);
    in.minorStatus = Checked(IDC_MINORSTATUS);
    in.minorCancel = Checked(IDC_MINORCANCEL);
    in.useExternalProgress = Checked(IDC_USEEXTERNALPROGRESS);
    in.extCancel = Checked(IDC_EXTCANCEL);
    in.decrypt = Checked(IDC_DECRYPTCODECK);
    in.decryptCode = Text(IDC_DECRYPTCODETEXT);
    in.destination = Text(IDC_DESTINATION);
    in.extProgTitle = Text(IDC_EXTPROGTITLE);
    in.freshenUpdatePosition = Selection(IDC_FRESHENUPDATE);
    in.index = *index;
    return true;
}

void MainForm::RunSelectedFunction() {
    if (SharedState().RunInProgress) return;
    UnzipOptionInputs in;
    if (!ReadOptionInputs(in)) return;
    const auto action = static_cast<int16_t>(Selection(IDC_VXFUNCTION) + 1);

    PropertySession session;
    BeginRun();
    const RunResultTexts r = RunUnzipFunction(session, SharedState(), Targets(), in,
                                              Text(IDC_ZIPFILE), Text(IDC_FILESPEC), action);
    // A run that was stopped has no results; one that ended shows every result
    // read, also when a later read failed.
    if (r.completed) {
        ShowResult(*this, IDC_RETURNVALUE, r.returnValue);
        ShowResult(*this, IDC_VXCOUNT, r.count);
        ShowResult(*this, IDC_RETURNSTRING, r.returnString);
        ShowItemInfoTexts(r.item);
    }
    EndRun(session, r.completed, hwnd());
}

void MainForm::ShowItemInfoTexts(const ItemInfoTexts& t) {
    ShowResult(*this, IDC_ZIINDEX, t.index);
    ShowResult(*this, IDC_ZIOSIZE, t.oSize);
    ShowResult(*this, IDC_ZICSIZE, t.cSize);
    ShowResult(*this, IDC_ZICRC32, t.crc32);
    ShowResult(*this, IDC_ZISZDATETIME, t.dateTime);
    ShowResult(*this, IDC_ZICPATHTYPE, t.pathType);
    ShowResult(*this, IDC_ZICMETHOD, t.method);
    ShowResult(*this, IDC_ZIATTR, t.attr);
    ShowResult(*this, IDC_ZISZFILENAME, t.fileName);
}

void MainForm::ReportFailure(const PropertyFailure& f, UINT messageId, HWND owner) {
    char message[512];
    std::snprintf(message, sizeof message, LoadText(messageId).c_str(), f.control.c_str(),
                  f.property.c_str(), static_cast<unsigned long>(f.status));
    MessageBoxA(owner, message, LoadText(IDS_MAIN_CAPTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void MainForm::ReportBadNumber(UINT boxNameId, long min, long max, HWND owner) {
    char message[512];
    std::snprintf(message, sizeof message, LoadText(IDS_BAD_NUMBER).c_str(),
                  LoadText(boxNameId).c_str(), min, max);
    MessageBoxA(owner, message, LoadText(IDS_MAIN_CAPTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void MainForm::SetRunButtonsEnabled(bool enabled) {
    Enable(IDC_VXUNZIPBTN, enabled);
    stringForm_->SetRunEnabled(enabled);
}

void MainForm::BeginRun() {
    closeAfterRun_ = false;
    SetRunButtonsEnabled(false);
}

void MainForm::EndRun(const PropertySession& run, bool completed, HWND owner) {
    // The message box runs its own message loop: a close handled there would
    // take the message with it, so closes wait until it has been read.
    if (run.failure()) {
        reportingRun_ = true;
        ReportFailure(*run.failure(), completed ? IDS_RESULT_FAILED : IDS_PROPERTY_FAILED, owner);
        reportingRun_ = false;
    }
    SetRunButtonsEnabled(true);
    // A close asked for during the run waited for the control to return.
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        PostMessageA(hwnd(), WM_CLOSE, 0, 0);
    }
}

void MainForm::BrowseForArchive() {
    commonDialog1_.FileName = Text(IDC_ZIPFILE);
    commonDialog1_.ShowOpen(hwnd());
    SetText(IDC_ZIPFILE, commonDialog1_.FileName);
}

void MainForm::ApplyExternalProgressState() {
    const bool external = Checked(IDC_USEEXTERNALPROGRESS);
    Enable(IDC_EXTPROGTITLE, external);
    Enable(IDC_EXTCANCEL, external);
    Enable(IDC_MINORSTATUS, !external);
    Enable(IDC_MAJORSTATUS, !external);
    Enable(IDC_MINORCANCEL, !external);
}

void MainForm::OpenStringForm() {
    if (stringForm_->Load(hwnd())) stringForm_->Show();
}

void MainForm::OpenAbout() {
    if (about_->Load(hwnd())) about_->Show();
}

bool MainForm::CloseRequest() {
    if (reportingRun_) {
        closeAfterRun_ = true;
        return false;
    }
    switch (AnswerCloseRequest(SharedState())) {
    case CloseAnswer::ShowRenameForm:
        rename_->Show();
        return false;
    case CloseAnswer::CloseAfterRun:
        closeAfterRun_ = true;
        return false;
    case CloseAnswer::Close:
        break;
    }
    return true;
}

}  // namespace ulmarsh
