#include "corvane/sample_dlg_win.h"

#include "corvane/about_dlg_win.h"
#include "corvane/corvane_app_win.h"
#include "corvane/resource.h"
#include "corvane/status_threads_win.h"
#include "framework/afx_resource_win.h"

CSampleDlg::CSampleDlg(CWnd* parent)
    : CDialog(IDD_CORVANE_DIALOG, parent),
      m_hIcon(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

BOOL CSampleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (HMENU systemMenu = GetSystemMenu(FALSE)) {
        const std::string about = LoadResourceString(AfxGetInstanceHandle(), IDS_ABOUTBOX);
        if (!about.empty()) {
            ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    CenterWindow();

    SetDlgItemText(IDC_ZIP_FILENAME, "g:\\temp\\testmt1.zip");
    SetDlgItemText(IDC_ITEM_LIST, "c:\\*.bat c:\\*.txt");
    CheckDlgButton(IDC_ZIP_RECURSE, BST_CHECKED);
    CheckDlgButton(IDC_MULTI_VOLUME, BST_UNCHECKED);
    CheckDlgButton(IDC_CD_FIRST, BST_UNCHECKED);
    SetDlgItemText(IDC_UNZIP_FILENAME, "g:\\temp\\testmt1.zip");
    SetDlgItemText(IDC_FILE_SPEC, "*.*");
    SetDlgItemText(IDC_DESTINATION, "g:\\temp\\test1");
    CheckDlgButton(IDC_UNZIP_RECURSE, BST_CHECKED);
    SampleApp().SetReaper(m_hWnd);
    return TRUE;
}

bool CSampleDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result)
{
    switch (message) {
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam));
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<INT_PTR>(m_hIcon);
        return true;
    case kReapJobsMessage:
        SampleApp().ReapEndedJobs();
        return true;
    default:
        return false;
    }
}

bool CSampleDlg::OnSysCommand(UINT id)
{
    if ((id & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    CSampleAboutDlg about(this);
    about.DoModal();
    return true;
}

bool CSampleDlg::OnPaint()
{
    if (!IsIconic())
        return false;
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
    return true;
}

BOOL CSampleDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_NEW_UNZIP_THREAD:
            StartJob(IDC_NEW_UNZIP_THREAD, RUNTIME_CLASS(CStatusThreadUnZIP));
            return TRUE;
        case IDC_NEW_ZIP_THREAD:
            StartJob(IDC_NEW_ZIP_THREAD, RUNTIME_CLASS(CStatusThreadZIP));
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CSampleDlg::StartJob(int buttonId, const CRuntimeClass* threadClass)
{
    if (m_closing)
        return;
    HWND button = GetDlgItem(buttonId);
    ::EnableWindow(button, FALSE);
    if (!SampleApp().StartJob(threadClass))
        AfxMessageBox(IDS_THREAD_NOT_STARTED, MB_OK, m_hWnd);
    ::EnableWindow(button, TRUE);
}

void CSampleDlg::OnOK() { CloseAfterJobs(IDOK); }

void CSampleDlg::OnCancel() { CloseAfterJobs(IDCANCEL); }

// Running jobs are cancelled and waited for, so no archive is left half-written.
void CSampleDlg::CloseAfterJobs(int result)
{
    if (m_closing)
        return;
    m_closing = true;
    // Only the buttons go: the dialog itself stays enabled, so it can be moved while it
    // waits for jobs that cannot hear the stop (external progress, a message box).
    for (int id : {IDC_NEW_ZIP_THREAD, IDC_NEW_UNZIP_THREAD, IDCANCEL, IDOK})
        ::EnableWindow(GetDlgItem(id), FALSE);
    SampleApp().StopJobsAndWait();
    SampleApp().SetReaper(nullptr);
    EndDialog(result);
}
