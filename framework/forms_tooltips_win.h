// Tooltips of one form: a tooltip window owned by the form (and destroyed
// with it) that shows a text for each of the form's controls.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

class TooltipSet {
public:
    void Attach(HWND form);
    void Add(HWND control, const std::string& text);
    void Detach() { tip_ = nullptr; }
    HWND hwnd() const { return tip_; }

private:
    HWND form_ = nullptr;
    HWND tip_ = nullptr;
};

}  // namespace forms
