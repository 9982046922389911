// Status dialog of a compression job (template 130), hosting one zip control.
#pragma once

#include "corvane/job_status_dlg_win.h"

#include <string>

class CZIPStatusDlg : public CJobStatusDlg {
public:
    explicit CZIPStatusDlg(CWnd* parent = nullptr);
    ~CZIPStatusDlg() override = default;

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
    BOOL m_bCDFirst = FALSE;
    BOOL m_bMultiVolume = FALSE;
    BOOL m_bExternalProgress = FALSE;
    BOOL m_bRecurse = FALSE;
    std::string m_strZipFile;
    std::string m_strItemList;
    CEdit m_majorText;
    CEdit m_threadIdText;
    CEdit m_minorText;
    CProgressCtrl m_minorBar;
    CProgressCtrl m_majorBar;
    Cvxzipctrl m_control;
};
