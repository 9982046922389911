// Window wrappers: a window handle and the few operations the programs use.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <string>

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND Detach();

    std::string GetWindowText() const;
    void SetWindowText(const char* text);
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const char* text);
    UINT IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, UINT check);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    HICON SetIcon(HICON icon, BOOL big);
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    virtual BOOL DestroyWindow();
    // Centres the window on the work area, then moves it by (dx, dy) pixels.
    void CenterWindow(int dx = 0, int dy = 0);

    HWND m_hWnd = nullptr;
};

class CEdit : public CWnd {};

// Common progress bar; its default range is 0 to 100.
class CProgressCtrl : public CWnd {
public:
    int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, position)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
};

// Sets a text control only when its text differs byte-wise from `text`, so
// frequent progress updates do not redraw unchanged text. True when set.
bool SetTextIfChanged(CWnd& control, const char* text);
