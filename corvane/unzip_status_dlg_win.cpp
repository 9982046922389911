#include "corvane/unzip_status_dlg_win.h"

#include "corvane/dispatch_property_bag_win.h"
#include "corvane/job_settings.h"
#include "corvane/resource.h"

namespace {

// One system-wide object, shared by every running copy of the program.
CMutex unzipSlotMutex(FALSE, "MyMultiThreadUnZIPMutex");

const EventSinkEntry unzipSinks[] = {
    {IDC_UNZIP_CONTROL, vx::MajorStatusEvent, &CJobStatusDlg::ForwardEvent},
    {IDC_UNZIP_CONTROL, vx::MinorStatusEvent, &CJobStatusDlg::ForwardEvent},
    {IDC_UNZIP_CONTROL, vx::MessageEvent, &CJobStatusDlg::ForwardEvent},
};

} // namespace

CUnZIPStatusDlg::CUnZIPStatusDlg(CWnd* parent) : CJobStatusDlg(IDD_UNZIP_STATUS, parent)
{
    BindStatusWidgets(&m_threadIdText, &m_majorText, &m_majorBar, &m_minorText, &m_minorBar);
}

void CUnZIPStatusDlg::CopySettings(const CWnd& mainDialog)
{
    m_strZipFile = mainDialog.GetDlgItemText(IDC_UNZIP_FILENAME);
    m_strFileSpec = mainDialog.GetDlgItemText(IDC_FILE_SPEC);
    m_strDestination = mainDialog.GetDlgItemText(IDC_DESTINATION);
    m_bRecurse = mainDialog.IsDlgButtonChecked(IDC_UNZIP_RECURSE) == BST_CHECKED;
    m_bExternalProgress = mainDialog.IsDlgButtonChecked(IDC_UNZIP_EXTERNAL) == BST_CHECKED;
}

void CUnZIPStatusDlg::DoDataExchange(CDataExchange* dx)
{
    CJobStatusDlg::DoDataExchange(dx);
    DDX_Control(dx, IDC_UNZIP_MAJOR_TEXT, m_majorText);
    DDX_Control(dx, IDC_UNZIP_MINOR_BAR, m_minorBar);
    DDX_Control(dx, IDC_UNZIP_MAJOR_BAR, m_majorBar);
    DDX_Control(dx, IDC_UNZIP_MINOR_TEXT, m_minorText);
    DDX_Control(dx, IDC_UNZIP_THREAD_ID, m_threadIdText);
    DDX_Control(dx, IDC_UNZIP_CONTROL, m_control);
}

EventSinkMap CUnZIPStatusDlg::GetEventSinkMap() const
{
    return EventSinkMap{unzipSinks, sizeof(unzipSinks) / sizeof(unzipSinks[0])};
}

CMutex& CUnZIPStatusDlg::SlotMutex() { return unzipSlotMutex; }

void CUnZIPStatusDlg::ApplyJobSettings()
{
    corvane::UnzipJobSettings settings;
    settings.archivePath = m_strZipFile;
    settings.fileSpec = m_strFileSpec;
    settings.destination = m_strDestination;
    settings.recurse = m_bRecurse != FALSE;
    settings.externalProgress = m_bExternalProgress != FALSE;
    DispatchPropertyBag control(m_control.Dispatch());
    corvane::ApplyUnzipJobSettings(control, settings);
}

short CUnZIPStatusDlg::RunControl()
{
    if (FAILED(m_control.SetAction(vx::unzip::Extract)))
        return -1;
    const short result = m_control.GetReturnValue();
    return SUCCEEDED(m_control.LastResult()) ? result : -1;
}

UINT CUnZIPStatusDlg::RunErrorMessage() const { return IDS_ERROR_UNZIPPING; }

corvane::MessageReply CUnZIPStatusDlg::ReplyToMessage(long code) const
{
    return corvane::UnzipMessageReply(static_cast<std::int32_t>(code));
}
