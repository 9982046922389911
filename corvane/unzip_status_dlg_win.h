// Status dialog of an extraction job (template 129), hosting one unzip control.
#pragma once

#include "corvane/job_status_dlg_win.h"

#include <string>

class CUnZIPStatusDlg : public CJobStatusDlg {
public:
    explicit CUnZIPStatusDlg(CWnd* parent = nullptr);
    ~CUnZIPStatusDlg() override = default;

    void CopySettings(const CWnd& mainDialog) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    EventSinkMap GetEventSinkMap() const override;

    CMutex& SlotMutex() override;
    bool ExternalProgress() const override { return m_bExternalProgress != FALSE; }
    void ApplyJobSettings() override;
    short RunControl() override;
    UINT RunErrorMessage() const override;
    corvane::MessageReply ReplyToMessage(long code) const override;

private:
    BOOL m_bExternalProgress = FALSE;
    BOOL m_bRecurse = FALSE;
    std::string m_strDestination;
    std::string m_strFileSpec;
    std::string m_strZipFile;
    CEdit m_majorText;
    CProgressCtrl m_minorBar;
    CProgressCtrl m_majorBar;
    CEdit m_minorText;
    CEdit m_threadIdText;
    Cvxunzipctrl m_control;
};
