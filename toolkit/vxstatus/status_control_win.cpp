#include "toolkit/vxstatus/status_control_win.h"

#include "framework/vxcontrols_ids.h"
#include "toolkit/shared/com_module_win.h"
#include "toolkit/vxstatus/vxstatus_h.h"

#include <olectl.h>

namespace vxstatus {

namespace {

constexpr char kClassName[] = "VXStatusCtrl";

const vxcom::ControlClass& StatusClass()
{
    static const vxcom::ControlClass cls{&CLSID_vxstatusctrl, &DIID__Dvxstatus,
                                         &DIID__DvxstatusEvents, &vx::StatusPropertyType,
                                         {vx::status::Percent, vx::status::StatusText}, {}};
    return cls;
}

long Clamp(long percent) { return percent < 0 ? 0 : percent > 100 ? 100 : percent; }

} // namespace

StatusControl::StatusControl() : DispatchControl(StatusClass()) {}

StatusControl::~StatusControl()
{
    InPlaceDeactivate();
}

void* StatusControl::QueryExtra(REFIID iid)
{
    if (IsEqualIID(iid, IID_IOleObject)) return static_cast<IOleObject*>(this);
    if (IsEqualIID(iid, IID_IOleInPlaceObject) || IsEqualIID(iid, IID_IOleWindow))
        return static_cast<IOleInPlaceObject*>(this);
    return nullptr;
}

HRESULT StatusControl::AfterPut(std::int32_t)
{
    if (window_) InvalidateRect(window_, nullptr, FALSE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE StatusControl::SetClientSite(IOleClientSite* site)
{
    site_ = ComPtr<IOleClientSite>::Share(site);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE StatusControl::GetClientSite(IOleClientSite** site)
{
    if (!site) return E_POINTER;
    *site = site_.Get();
    if (*site) (*site)->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE StatusControl::Close(DWORD)
{
    InPlaceDeactivate();
    site_.Reset();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE StatusControl::GetMiscStatus(DWORD, DWORD* status)
{
    if (!status) return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_SETCLIENTSITEFIRST |
              OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE StatusControl::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG,
                                                HWND parent, LPCRECT rect)
{
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW && verb != OLEIVERB_PRIMARY &&
        verb != OLEIVERB_UIACTIVATE)
        return OLEOBJ_S_INVALIDVERB;
    if (window_) return S_OK;
    if (!parent || !rect) return E_INVALIDARG;

    if (!vxcom::RegisterModuleClass(kClassName, &Proc, nullptr))
        return HRESULT_FROM_WIN32(GetLastError());
    window_ = CreateWindowExA(WS_EX_CLIENTEDGE, kClassName, "", WS_CHILD | WS_VISIBLE,
                              rect->left, rect->top, rect->right - rect->left,
                              rect->bottom - rect->top, parent, nullptr, vxcom::ModuleHandle(),
                              this);
    if (!window_) return HRESULT_FROM_WIN32(GetLastError());
    if (!font_) font_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                                    "Arial");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE StatusControl::GetWindow(HWND* window)
{
    if (!window) return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE StatusControl::InPlaceDeactivate()
{
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        window_ = nullptr;
    }
    if (font_) {
        DeleteObject(font_);
        font_ = nullptr;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE StatusControl::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (!position) return E_POINTER;
    if (window_)
        MoveWindow(window_, position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    return S_OK;
}

void StatusControl::Paint(HDC dc, const RECT& area)
{
    const long percent = Clamp(Number(vx::status::Percent));
    RECT done = area;
    done.right = area.left + (area.right - area.left) * percent / 100;
    RECT rest = area;
    rest.left = done.right;
    FillRect(dc, &done, GetSysColorBrush(COLOR_HIGHLIGHT));
    FillRect(dc, &rest, GetSysColorBrush(COLOR_WINDOW));

    std::string text = Text(vx::status::StatusText);
    HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(ANSI_VAR_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT box = area;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
}

LRESULT CALLBACK StatusControl::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<StatusControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT area;
        GetClientRect(hwnd, &area);
        if (self) self->Paint(dc, area);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT area;
        GetClientRect(hwnd, &area);
        if (self) self->Paint(reinterpret_cast<HDC>(wp), area);
        return 0;
    }
    case WM_GETFONT:
        return self ? reinterpret_cast<LRESULT>(self->font_) : 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        if (self) self->window_ = nullptr;
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

} // namespace vxstatus
