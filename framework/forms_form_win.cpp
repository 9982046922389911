#include "framework/forms_form_win.h"

#include <vector>

#include "framework/afx_resource_win.h"
#include "framework/forms_checklist_win.h"
#include "framework/forms_loop_win.h"
#include "framework/forms_text_win.h"
#include "framework/forms_twips.h"

namespace forms {
namespace {

struct WindowClass {
    const char* name;
    DWORD style;
};

WindowClass ClassFor(Kind kind) {
    switch (kind) {
    case Kind::Label: return {"STATIC", SS_LEFT | SS_NOPREFIX};
    case Kind::TextBox: return {"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL};
    case Kind::DisplayBox: return {"EDIT", WS_BORDER | ES_READONLY | ES_AUTOHSCROLL};
    case Kind::Button: return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};
    case Kind::DefaultButton: return {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP};
    case Kind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP};
    case Kind::DropDownList: return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP};
    case Kind::Frame: return {"BUTTON", BS_GROUPBOX};
    case Kind::CheckList: return {"LISTBOX", kCheckListStyle | WS_BORDER | WS_TABSTOP};
    case Kind::Icon: return {"STATIC", SS_ICON};
    case Kind::Hosted: break;
    }
    return {nullptr, 0};
}

// Room for the open list below a drop-down's closed height.
constexpr int kDropDownListPixels = 160;

}  // namespace

Form::Form(HINSTANCE instance, const FormSpec& spec) : instance_(instance), spec_(spec) {}

Form::~Form() { Unload(); }

bool Form::RegisterFormClass() const {
    WNDCLASSEXA existing{sizeof existing};
    if (GetClassInfoExA(instance_, spec_.className, &existing)) return true;
    WNDCLASSEXA wc{sizeof wc};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = spec_.className;
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    return RegisterClassExA(&wc) != 0;
}

bool Form::Load(HWND owner) {
    if (hwnd_) return true;
    if (!RegisterFormClass()) return false;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    HMENU menu = spec_.menuId ? LoadMenuA(instance_, MAKEINTRESOURCEA(spec_.menuId)) : nullptr;
    RECT r{0, 0, TwipsToPixels(spec_.clientWidth), TwipsToPixels(spec_.clientHeight)};
    AdjustWindowRectEx(&r, style, menu != nullptr, 0);
    const std::string caption = LoadText(spec_.captionId);
    hwnd_ = CreateWindowExA(0, spec_.className, caption.c_str(), style, CW_USEDEFAULT,
                            CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, owner, menu,
                            instance_, this);
    if (!hwnd_) {
        if (menu) DestroyMenu(menu);
        return false;
    }

    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font_.Reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    displayBrush_.Reset(CreateSolidBrush(kDisplayBoxColour));
    tooltips_.Attach(hwnd_);
    CreateControls();
    if (!OnLoad()) {
        Unload();
        return false;
    }
    return true;
}

void Form::Show() {
    if (!hwnd_) return;
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
}

void Form::Unload() {
    if (hwnd_) DestroyWindow(hwnd_);
}

const ControlSpec* Form::Spec(int id) const {
    for (size_t i = 0; i < spec_.controlCount; ++i)
        if (spec_.controls[i].id == id) return &spec_.controls[i];
    return nullptr;
}

RECT Form::TwipsRect(const ControlSpec& c) const {
    int left = c.left, top = c.top;
    if (c.frameId) {
        if (const ControlSpec* frame = Spec(c.frameId)) {
            const RECT f = TwipsRect(*frame);
            left += f.left;
            top += f.top;
        }
    }
    return RECT{left, top, left + c.width, top + c.height};
}

RECT Form::PixelRect(int id) const {
    const ControlSpec* c = Spec(id);
    if (!c) return RECT{};
    const RECT t = TwipsRect(*c);
    return RECT{TwipsToPixels(t.left), TwipsToPixels(t.top), TwipsToPixels(t.right),
                TwipsToPixels(t.bottom)};
}

void Form::CreateControls() {
    // Frames first, so the controls inside them are above them in Z order.
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < spec_.controlCount; ++i) {
            const ControlSpec& c = spec_.controls[i];
            if ((c.kind == Kind::Frame) != (pass == 0) || c.kind == Kind::Hosted) continue;
            HWND control = CreateControl(c);
            if (control && c.tipId) tooltips_.Add(control, LoadText(c.tipId));
        }
    }
}

HWND Form::CreateControl(const ControlSpec& c) {
    const WindowClass wc = ClassFor(c.kind);
    if (!wc.name) return nullptr;
    RECT r = PixelRect(c.id);
    int height = r.bottom - r.top;
    if (c.kind == Kind::DropDownList) height += kDropDownListPixels;
    const std::string text = c.textId ? LoadText(c.textId) : std::string();
    HWND control = CreateWindowExA(0, wc.name, text.c_str(), WS_CHILD | WS_VISIBLE | wc.style | c.extraStyle,
                                   r.left, r.top, r.right - r.left, height, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_,
                                   nullptr);
    if (!control) return nullptr;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);

    if (c.kind == Kind::CheckList) {
        InstallCheckList(control);
        SendMessageA(control, LB_SETITEMHEIGHT, 0, 16);
    }
    for (int i = 0; i < c.itemCount; ++i) {
        const std::string item = LoadText(c.firstItemId + i);
        const UINT add = c.kind == Kind::DropDownList ? CB_ADDSTRING : LB_ADDSTRING;
        SendMessageA(control, add, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    if (c.kind == Kind::Icon)
        SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_INFORMATION)), 0);
    return control;
}

std::string Form::LoadText(UINT stringId) const { return LoadResourceString(instance_, stringId); }

std::string Form::Text(int id) const { return WindowText(Item(id)); }

void Form::SetText(int id, const std::string& text) {
    HWND control = Item(id);
    const bool multiLine = (GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) != 0;
    SetWindowTextA(control, multiLine ? WithCrLf(text).c_str() : text.c_str());
}

bool Form::Checked(int id) const {
    return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetChecked(int id, bool checked) {
    SendMessageA(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::Enable(int id, bool enabled) { EnableWindow(Item(id), enabled); }

bool Form::Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

int Form::Selection(int id) const {
    return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
}

void Form::Select(int id, int position) { SendMessageA(Item(id), CB_SETCURSEL, position, 0); }

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        // Menu items and accelerators come with no control handle.
        if (lParam != 0 && code != BN_CLICKED) break;
        auto it = clicks_.find(id);
        if (it != clicks_.end()) {
            auto handler = it->second;  // the handler may unload this form
            handler();
            return 0;
        }
        break;
    }
    case kItemCheckMessage: {
        auto it = itemChecks_.find(static_cast<int>(wParam));
        if (it != itemChecks_.end()) {
            auto handler = it->second;
            handler(static_cast<int>(lParam));
        }
        return 0;
    }
    case WM_DRAWITEM:
        if (DrawCheckListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lParam);
        const ControlSpec* c = Spec(GetDlgCtrlID(control));
        if (c && c->kind == Kind::DisplayBox) {
            SetBkColor(reinterpret_cast<HDC>(wParam), kDisplayBoxColour);
            return reinterpret_cast<LRESULT>(displayBrush_.Get());
        }
        break;
    }
    case DM_GETDEFID:
        // Enter presses the form's default button, as in a dialog.
        for (size_t i = 0; i < spec_.controlCount; ++i)
            if (spec_.controls[i].kind == Kind::DefaultButton)
                return MAKELRESULT(spec_.controls[i].id, DC_HASDEFID);
        break;
    case WM_CLOSE:
        if (onCloseRequest && !onCloseRequest()) return 0;
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        if (onUnload) {
            auto handler = onUnload;
            handler();
        }
        if (quitOnUnload_) PostQuitMessage(0);
        break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Form* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        RegisterModeless(hwnd);
    }
    if (!form) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        UnregisterModeless(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        form->hwnd_ = nullptr;
        form->tooltips_.Detach();
        form->font_.Reset();
        form->displayBrush_.Reset();
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return form->HandleMessage(msg, wParam, lParam);
}

}  // namespace forms
