// The controls' own progress window (OptionBits 4): a small top-level window
// on the calling thread with the run's and the item's progress, and a Cancel
// button that works when the host allows it (OptionBits 8).
#pragma once

#include <windows.h>
#include <string>

namespace vxcom {

class ProgressWindow {
public:
    ProgressWindow() = default;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    ~ProgressWindow() { Close(); }

    bool Open(const std::string& title, bool allowCancel);
    void Close();
    bool IsOpen() const { return window_ != nullptr; }
    HWND Window() const { return window_; }

    void ShowMajor(const std::string& text, int percent);
    void ShowMinor(const std::string& text, int percent);
    // Handles the window's pending input; true once Cancel was pressed.
    bool Pump();
    bool Cancelled() const { return cancelled_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    static void SetTextIfChanged(HWND control, std::string& shown, const std::string& text);

    HWND window_ = nullptr;
    HWND majorText_ = nullptr, majorBar_ = nullptr, minorText_ = nullptr, minorBar_ = nullptr;
    HWND cancel_ = nullptr;
    std::string majorShown_, minorShown_;
    HFONT font_ = nullptr;
    bool allowCancel_ = false;
    bool cancelled_ = false;
};

} // namespace vxcom
