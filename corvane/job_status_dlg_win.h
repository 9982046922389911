// What extraction and compression status dialogs share: the job's flags, the
// start command (slot, settings, run, error message), the status and message
// events, Enter doing nothing and Cancel only asking the run to stop.
#pragma once

#include "corvane/job_result.h"
#include "corvane/message_rules.h"
#include "framework/afx_dialog_win.h"
#include "framework/afx_sync_win.h"

class CJobStatusDlg : public CDialog, protected vx::EventHandlers {
public:
    CJobStatusDlg(UINT templateId, CWnd* parent);

    // The hidden window of the status dialog.
    BOOL Create() { return CDialog::Create(m_nTemplateID, m_pParent); }
    // Copies the job's settings from the main dialog's controls.
    virtual void CopySettings(const CWnd& mainDialog) = 0;

    bool IsDone() const { return m_bDone != FALSE; }
    bool IsCancelled() const { return m_bCancel != FALSE; }
    corvane::StartOutcome Outcome() const { return m_outcome; }

    // Handler of the event sink tables: decodes the event for this dialog.
    static HRESULT ForwardEvent(CDialog& dialog, DISPID event, DISPPARAMS* params);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    void OnOK() override {}
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // What differs between the two kinds of job.
    virtual CMutex& SlotMutex() = 0;
    virtual bool ExternalProgress() const = 0;
    virtual void ApplyJobSettings() = 0;
    // Runs the control (writes Action) and returns its ReturnValue.
    virtual short RunControl() = 0;
    virtual UINT RunErrorMessage() const = 0;
    virtual corvane::MessageReply ReplyToMessage(long code) const = 0;

    void BindStatusWidgets(CEdit* threadId, CEdit* majorText, CProgressCtrl* majorBar,
                           CEdit* minorText, CProgressCtrl* minorBar);
    BOOL m_bCancel = FALSE;
    BOOL m_bDone = FALSE;
    UINT m_nTemplateID;
    CWnd* m_pParent;

private:
    void StartJob();
    void ShowStatus(CEdit& text, CProgressCtrl& bar, BSTR* status, long* percent, long* cancel);
    void MajorStatusEvent(BSTR* text, long* percent, long* cancel) override;
    void MinorStatusEvent(BSTR* text, long* percent, long* cancel) override;
    void MessageEvent(long* code, long* n2, long* n3, long* n4, BSTR* text, BSTR* title,
                      long* response) override;

    corvane::StartOutcome m_outcome = corvane::StartOutcome::Pending;
    CEdit* m_threadIdText = nullptr;
    CEdit* m_majorText = nullptr;
    CProgressCtrl* m_majorBar = nullptr;
    CEdit* m_minorText = nullptr;
    CProgressCtrl* m_minorBar = nullptr;
};
