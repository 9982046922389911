#include "corvane/about_dlg_win.h"

#include "corvane/resource.h"

CSampleAboutDlg::CSampleAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}
