#include "corvane/status_threads_win.h"

#include "corvane/corvane_app_win.h"
#include "corvane/job_result.h"
#include "corvane/resource.h"
#include "corvane/unzip_status_dlg_win.h"
#include "corvane/zip_status_dlg_win.h"

IMPLEMENT_DYNCREATE(CStatusThreadUnZIP)
IMPLEMENT_DYNCREATE(CStatusThreadZIP)

namespace {

// The job loop: passes until the dialog's flags end the job, dispatching the
// thread's messages (the start command among them) and sleeping in between.
int RunStatusDialog(CJobStatusDlg& dialog)
{
    int result = corvane::kJobSucceeded;
    for (;;) {
        const bool cancel = dialog.IsCancelled() || SampleApp().StopRequested();
        if (corvane::JobLoopFinished(dialog.Outcome(), dialog.IsDone(), cancel, result))
            return result;
        if (!AfxPumpWaitingMessages()) {
            result = corvane::kJobCancelled; // the thread was told to quit
            return result;
        }
        if (!dialog.IsDone() && !dialog.IsCancelled() && !SampleApp().StopRequested())
            ::WaitMessage();
    }
}

template <class StatusDialog>
int RunJob(CWinThread& thread)
{
    CWnd* mainDialog = thread.m_pMainWnd;
    auto* dialog = new (std::nothrow) StatusDialog(nullptr);
    thread.m_bAutoDelete = TRUE;
    if (dialog == nullptr)
        return corvane::kJobNoSlot;
    if (!dialog->Create()) {
        delete dialog; // its window never came up, so it cannot delete itself
        return corvane::kJobNoDialog;
    }
    if (mainDialog != nullptr)
        dialog->CopySettings(*mainDialog);
    dialog->PostMessage(WM_COMMAND, IDC_START_JOB, reinterpret_cast<LPARAM>(dialog));
    const int result = RunStatusDialog(*dialog);
    dialog->DestroyWindow(); // the dialog object deletes itself
    return result;
}

void ReportResult(int result)
{
    if (SampleApp().StopRequested())
        return; // the program is closing: nobody is left to read it
    if (const unsigned message = corvane::MessageIdForResult(result))
        AfxMessageBox(message, MB_OK);
}

} // namespace

BOOL CStatusThreadUnZIP::InitInstance()
{
    const int result = RunJob<CUnZIPStatusDlg>(*this);
    ReportResult(result);
    AfxEndThread(static_cast<UINT>(result));
}

BOOL CStatusThreadZIP::InitInstance()
{
    const int result = RunJob<CZIPStatusDlg>(*this);
    ReportResult(result);
    AfxEndThread(static_cast<UINT>(result));
}
