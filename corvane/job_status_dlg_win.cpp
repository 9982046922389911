#include "corvane/job_status_dlg_win.h"

#include "corvane/corvane_app_win.h"
#include "corvane/resource.h"

#include <string>

namespace {

constexpr DWORD kSlotLockTimeoutMs = 10000;
constexpr int kCascadeSteps = 8;
constexpr int kCascadeOffset = 24; // pixels

} // namespace

CJobStatusDlg::CJobStatusDlg(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent), m_nTemplateID(templateId), m_pParent(parent)
{
}

void CJobStatusDlg::BindStatusWidgets(CEdit* threadId, CEdit* majorText, CProgressCtrl* majorBar,
                                      CEdit* minorText, CProgressCtrl* minorBar)
{
    m_threadIdText = threadId;
    m_majorText = majorText;
    m_majorBar = majorBar;
    m_minorText = minorText;
    m_minorBar = minorBar;
}

BOOL CJobStatusDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_threadIdText->SetWindowText(std::to_string(::GetCurrentThreadId()).c_str());
    return TRUE;
}

BOOL CJobStatusDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != IDC_START_JOB)
        return CDialog::OnCommand(wParam, lParam);
    StartJob();
    return FALSE;
}

void CJobStatusDlg::PostNcDestroy() { delete this; }

void CJobStatusDlg::OnCancel() { m_bCancel = TRUE; }

// Enter never closes or cancels the dialog, whichever button has the focus.
BOOL CJobStatusDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

void CJobStatusDlg::StartJob()
{
    CSampleApp& app = SampleApp();
    if (app.StopRequested()) {
        m_outcome = corvane::StartOutcome::Skipped;
        m_bDone = TRUE;
        return;
    }
    CSingleLock lock(&SlotMutex());
    if (!lock.Lock(kSlotLockTimeoutMs)) {
        m_outcome = corvane::StartOutcome::LockTimeout;
        m_bDone = TRUE;
        return;
    }
    const int slot = app.JobSlots().Take(AfxGetThread(), this);
    lock.Unlock();
    if (slot < 0) {
        m_outcome = corvane::StartOutcome::NoSlot;
        m_bDone = TRUE;
        return;
    }
    m_outcome = corvane::StartOutcome::Ran;
    if (!ExternalProgress()) {
        // Side-by-side jobs cascade instead of hiding each other.
        const int step = (slot % kCascadeSteps) * kCascadeOffset;
        CenterWindow(step, step);
        ShowWindow(SW_SHOWNORMAL);
    }
    ApplyJobSettings();
    if (RunControl() != 0 && !app.StopRequested())
        AfxMessageBox(RunErrorMessage(), MB_OK);
    m_bDone = TRUE;
}

void CJobStatusDlg::ShowStatus(CEdit& text, CProgressCtrl& bar, BSTR* status, long* percent,
                               long* cancel)
{
    if (status != nullptr)
        SetTextIfChanged(text, BstrToAnsi(*status).c_str());
    if (percent != nullptr)
        bar.SetPos(static_cast<int>(*percent));
    AfxPumpWaitingMessages(); // repaints, and a Cancel click is seen now
    if (cancel != nullptr)
        *cancel = (m_bCancel || SampleApp().StopRequested()) ? 1 : 0;
}

void CJobStatusDlg::MajorStatusEvent(BSTR* text, long* percent, long* cancel)
{
    ShowStatus(*m_majorText, *m_majorBar, text, percent, cancel);
}

void CJobStatusDlg::MinorStatusEvent(BSTR* text, long* percent, long* cancel)
{
    ShowStatus(*m_minorText, *m_minorBar, text, percent, cancel);
}

void CJobStatusDlg::MessageEvent(long* code, long*, long*, long*, BSTR*, BSTR* title,
                                 long* response)
{
    if (code == nullptr)
        return;
    const corvane::MessageReply reply = ReplyToMessage(*code);
    if (reply.newTitle != nullptr && title != nullptr)
        vx::ReplaceBstr(title, reply.newTitle);
    if (reply.setsResponse && response != nullptr)
        *response = reply.response;
}

HRESULT CJobStatusDlg::ForwardEvent(CDialog& dialog, DISPID event, DISPPARAMS* params)
{
    auto& self = static_cast<CJobStatusDlg&>(dialog);
    return vx::DispatchEvent(self, event, params);
}
