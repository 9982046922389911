// The main dialog: job settings, the buttons that start jobs, the About item
// of the system menu and the minimised icon.
#pragma once

#include "framework/afx_dialog_win.h"
#include "framework/afx_thread_win.h"

class CSampleDlg : public CDialog {
public:
    explicit CSampleDlg(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    bool OnSysCommand(UINT id);
    bool OnPaint();
    void StartJob(int buttonId, const CRuntimeClass* threadClass);
    void CloseAfterJobs(int result);

    HICON m_hIcon;
    bool m_closing = false;
};
