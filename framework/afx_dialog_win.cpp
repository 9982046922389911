#include "framework/afx_dialog_win.h"

#include "framework/afx_app_win.h"
#include "framework/afx_dlginit.h"
#include "framework/afx_resource_win.h"

#include <algorithm>
#include <vector>

namespace {

const char kDialogProperty[] = "afx.dialog";
const char* const kDialogInitType = MAKEINTRESOURCEA(240); // RT_DLGINIT

bool ParseClassId(const std::string& text, CLSID& clsid)
{
    std::vector<wchar_t> wide(text.begin(), text.end()); // class identifiers are ASCII
    wide.push_back(L'\0');
    return SUCCEEDED(::CLSIDFromString(wide.data(), &clsid));
}

} // namespace

struct CDialog::HostedControl {
    UINT id = 0;
    vx::ControlSite site;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd == nullptr)
        control.m_hWnd = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
}

void DDX_Control(CDataExchange* dx, int id, vx::ControlWrapper& control)
{
    CDialog* dialog = dx->m_pDlgWnd;
    vx::ControlSite* site = dialog->FindControlSite(static_cast<UINT>(id));
    if (site == nullptr || control)
        return;
    control.Attach(site->Dispatch());
    dialog->boundWrappers_.push_back(&control);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent)
{
}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr) {
        quietDestroy_ = true; // the object is going: nothing to call back into
        ::DestroyWindow(m_hWnd);
    }
}

bool CDialog::PrepareTemplate(std::vector<unsigned char>& dialog)
{
    const ResourceBytes bytes =
        FindResourceBytes(AfxGetInstanceHandle(), m_nIDTemplate, reinterpret_cast<LPCSTR>(RT_DIALOG));
    afx::SplitDialogTemplate split;
    if (bytes.data == nullptr || !afx::SplitControlSites(bytes.data, bytes.size, split))
        return false;
    if (!split.sites.empty() && !AfxControlContainerEnabled())
        return false;
    dialog = std::move(split.dialog);
    siteTemplates_ = std::move(split.sites);
    return true;
}

INT_PTR CDialog::DoModal()
{
    std::vector<unsigned char> dialog;
    if (!PrepareTemplate(dialog))
        return -1;
    modal_ = true;
    initFailed_ = false;
    return ::DialogBoxIndirectParamA(AfxGetInstanceHandle(),
                                     reinterpret_cast<LPCDLGTEMPLATEA>(dialog.data()),
                                     m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    std::vector<unsigned char> dialog;
    if (!PrepareTemplate(dialog))
        return FALSE;
    modal_ = false;
    initFailed_ = false;
    HWND hwnd = ::CreateDialogIndirectParamA(AfxGetInstanceHandle(),
                                             reinterpret_cast<LPCDLGTEMPLATEA>(dialog.data()),
                                             parent != nullptr ? parent->m_hWnd : nullptr,
                                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (hwnd == nullptr)
        return FALSE;
    if (initFailed_) {
        quietDestroy_ = true;
        ::DestroyWindow(hwnd);
        quietDestroy_ = false;
        return FALSE;
    }
    return TRUE;
}

void CDialog::EndDialog(int result)
{
    if (modal_)
        ::EndDialog(m_hWnd, result);
    else
        ::DestroyWindow(m_hWnd);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
    }
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (modal_ || m_hWnd == nullptr)
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, msg);
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

vx::ControlSite* CDialog::FindControlSite(UINT id) const
{
    for (const auto& hosted : hosted_)
        if (hosted->id == id)
            return &hosted->site;
    return nullptr;
}

bool CDialog::CreateControlSites()
{
    if (siteTemplates_.empty())
        return true;
    std::vector<afx::DialogInitEntry> initData;
    const ResourceBytes init = FindResourceBytes(AfxGetInstanceHandle(), m_nIDTemplate, kDialogInitType);
    if (init.data != nullptr && !afx::ParseDialogInitData(init.data, init.size, initData))
        return false;
    const EventSinkMap sinks = GetEventSinkMap();

    for (const afx::ControlSiteTemplate& t : siteTemplates_) {
        CLSID clsid;
        if (!ParseClassId(t.classId, clsid))
            return false;
        vx::ControlPlacement placement;
        placement.visible = (t.style & WS_VISIBLE) != 0;
        placement.rect = RECT{t.x, t.y, t.x + t.cx, t.y + t.cy};
        ::MapDialogRect(m_hWnd, &placement.rect);
        const afx::DialogInitEntry* state = afx::FindControlState(initData, t.id);

        hosted_.push_back(std::make_unique<HostedControl>());
        HostedControl& hosted = *hosted_.back();
        hosted.id = t.id;
        const HRESULT created =
            hosted.site.Create(m_hWnd, clsid, placement, state ? state->data.data() : nullptr,
                               state ? state->data.size() : 0);
        if (FAILED(created))
            return false;
        if (HWND window = hosted.site.Window()) {
            ::SetWindowLongPtrA(window, GWLP_ID, static_cast<LONG_PTR>(t.id));
            HWND after = HWND_TOP;
            HWND child = ::GetWindow(m_hWnd, GW_CHILD);
            for (size_t i = 1; child != nullptr && i <= t.keptBefore; ++i) {
                after = child;
                child = ::GetWindow(child, GW_HWNDNEXT);
            }
            ::SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        const bool sinks_this = std::any_of(sinks.entries, sinks.entries + sinks.count,
                                            [&](const EventSinkEntry& e) { return e.controlId == t.id; });
        if (sinks_this) {
            const UINT id = t.id;
            if (FAILED(hosted.site.ConnectEvents(
                    [this, id](DISPID event, DISPPARAMS* params) { return RouteEvent(id, event, params); })))
                return false;
        }
    }
    return true;
}

void CDialog::DestroyControlSites()
{
    // Wrappers first: the last reference to a control goes with its site.
    for (vx::ControlWrapper* wrapper : boundWrappers_)
        wrapper->Detach();
    boundWrappers_.clear();
    for (auto& hosted : hosted_)
        hosted->site.Destroy();
    hosted_.clear();
}

HRESULT CDialog::RouteEvent(UINT controlId, DISPID event, DISPPARAMS* params)
{
    const EventSinkMap sinks = GetEventSinkMap();
    for (size_t i = 0; i < sinks.count; ++i) {
        const EventSinkEntry& entry = sinks.entries[i];
        if (entry.controlId == controlId && entry.event == event)
            return entry.handler(*this, event, params);
    }
    return S_OK;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (!CreateControlSites()) {
            initFailed_ = true;
            if (modal_)
                ::EndDialog(m_hWnd, -1);
            return FALSE;
        }
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_DESTROY:
        DestroyControlSites();
        return FALSE;
    default: {
        INT_PTR result = 0;
        return OnMessage(message, wParam, lParam, result) ? result : FALSE;
    }
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = hwnd;
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        ::SetPropA(hwnd, kDialogProperty, reinterpret_cast<HANDLE>(dialog));
    } else {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (dialog == nullptr)
        return FALSE;
    if (message == WM_NCDESTROY) {
        ::RemovePropA(hwnd, kDialogProperty);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        dialog->DestroyControlSites();
        dialog->m_hWnd = nullptr;
        if (!dialog->quietDestroy_)
            dialog->PostNcDestroy(); // may delete the object
        return FALSE;
    }
    return dialog->HandleMessage(message, wParam, lParam);
}

BOOL AfxPreTranslateDialogMessage(MSG* msg)
{
    if (msg->hwnd == nullptr)
        return FALSE;
    HWND root = ::GetAncestor(msg->hwnd, GA_ROOT);
    if (root == nullptr || ::GetWindowThreadProcessId(root, nullptr) != ::GetCurrentThreadId())
        return FALSE;
    auto* dialog = static_cast<CDialog*>(::GetPropA(root, kDialogProperty));
    return dialog != nullptr ? dialog->PreTranslateMessage(msg) : FALSE;
}
