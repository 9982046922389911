#include "framework/afx_wnd_win.h"

#include <commctrl.h>
#include <cstring>
#include <vector>

namespace {

std::string TextOf(HWND hwnd)
{
    if (hwnd == nullptr)
        return std::string();
    const int length = ::GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hwnd, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

} // namespace

HWND CWnd::Detach()
{
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    return hwnd;
}

std::string CWnd::GetWindowText() const { return TextOf(m_hWnd); }

void CWnd::SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }

std::string CWnd::GetDlgItemText(int id) const { return TextOf(::GetDlgItem(m_hWnd, id)); }

void CWnd::SetDlgItemText(int id, const char* text) { ::SetDlgItemTextA(m_hWnd, id, text); }

UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }

void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }

HICON CWnd::SetIcon(HICON icon, BOOL big)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

void CWnd::CenterWindow(int dx, int dy)
{
    RECT window, area;
    if (!::GetWindowRect(m_hWnd, &window) || !::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        return;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int x = area.left + (area.right - area.left - width) / 2 + dx;
    const int y = area.top + (area.bottom - area.top - height) / 2 + dy;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SetTextIfChanged(CWnd& control, const char* text)
{
    if (control.GetWindowText() == text)
        return false;
    control.SetWindowText(text);
    return true;
}
