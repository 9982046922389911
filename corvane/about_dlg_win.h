// The About box.
#pragma once

#include "framework/afx_dialog_win.h"

class CSampleAboutDlg : public CDialog {
public:
    explicit CSampleAboutDlg(CWnd* parent = nullptr);
};
