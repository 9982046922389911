#include "corvane/zip_status_dlg_win.h"

#include "corvane/dispatch_property_bag_win.h"
#include "corvane/job_settings.h"
#include "corvane/resource.h"

namespace {

// One system-wide object, shared by every running copy of the program.
CMutex zipSlotMutex(FALSE, "MyMultiThreadZIPMutex");

const EventSinkEntry zipSinks[] = {
    {IDC_ZIP_CONTROL, vx::MajorStatusEvent, &CJobStatusDlg::ForwardEvent},
    {IDC_ZIP_CONTROL, vx::MinorStatusEvent, &CJobStatusDlg::ForwardEvent},
    {IDC_ZIP_CONTROL, vx::MessageEvent, &CJobStatusDlg::ForwardEvent},
};

} // namespace

CZIPStatusDlg::CZIPStatusDlg(CWnd* parent) : CJobStatusDlg(IDD_ZIP_STATUS, parent)
{
    BindStatusWidgets(&m_threadIdText, &m_majorText, &m_majorBar, &m_minorText, &m_minorBar);
}

void CZIPStatusDlg::CopySettings(const CWnd& mainDialog)
{
    m_strZipFile = mainDialog.GetDlgItemText(IDC_ZIP_FILENAME);
    m_strItemList = mainDialog.GetDlgItemText(IDC_ITEM_LIST);
    m_bRecurse = mainDialog.IsDlgButtonChecked(IDC_ZIP_RECURSE) == BST_CHECKED;
    m_bExternalProgress = mainDialog.IsDlgButtonChecked(IDC_ZIP_EXTERNAL) == BST_CHECKED;
    m_bMultiVolume = mainDialog.IsDlgButtonChecked(IDC_MULTI_VOLUME) == BST_CHECKED;
    m_bCDFirst = mainDialog.IsDlgButtonChecked(IDC_CD_FIRST) == BST_CHECKED;
}

void CZIPStatusDlg::DoDataExchange(CDataExchange* dx)
{
    CJobStatusDlg::DoDataExchange(dx);
    DDX_Control(dx, IDC_ZIP_MAJOR_TEXT, m_majorText);
    DDX_Control(dx, IDC_ZIP_THREAD_ID, m_threadIdText);
    DDX_Control(dx, IDC_ZIP_MINOR_TEXT, m_minorText);
    DDX_Control(dx, IDC_ZIP_MINOR_BAR, m_minorBar);
    DDX_Control(dx, IDC_ZIP_MAJOR_BAR, m_majorBar);
    DDX_Control(dx, IDC_ZIP_CONTROL, m_control);
}

EventSinkMap CZIPStatusDlg::GetEventSinkMap() const
{
    return EventSinkMap{zipSinks, sizeof(zipSinks) / sizeof(zipSinks[0])};
}

CMutex& CZIPStatusDlg::SlotMutex() { return zipSlotMutex; }

void CZIPStatusDlg::ApplyJobSettings()
{
    corvane::ZipJobSettings settings;
    settings.archivePath = m_strZipFile;
    settings.itemList = m_strItemList;
    settings.recurse = m_bRecurse != FALSE;
    settings.externalProgress = m_bExternalProgress != FALSE;
    settings.multiVolume = m_bMultiVolume != FALSE;
    settings.cdFirst = m_bCDFirst != FALSE;
    DispatchPropertyBag control(m_control.Dispatch());
    corvane::ApplyZipJobSettings(control, settings);
}

short CZIPStatusDlg::RunControl()
{
    if (FAILED(m_control.SetAction(vx::zip::Add)))
        return -1;
    const short result = m_control.GetReturnValue();
    return SUCCEEDED(m_control.LastResult()) ? result : -1;
}

UINT CZIPStatusDlg::RunErrorMessage() const { return IDS_ERROR_ZIPPING; }

corvane::MessageReply CZIPStatusDlg::ReplyToMessage(long code) const
{
    return corvane::ZipMessageReply(static_cast<std::int32_t>(code));
}
