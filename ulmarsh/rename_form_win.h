// The rename form `renamefrm`: asks the user for one item's name, date, time
// and attributes while the control waits inside its rename event.
#pragma once

#include <cstdint>
#include <string>

#include "framework/forms_form_win.h"

namespace ulmarsh {

struct RenameRequest {
    std::string itemName;
    std::string originalName;
    int32_t date;        // MS-DOS date word
    int32_t time;        // MS-DOS time word
    int32_t attributes;
};

class RenameForm : public forms::Form {
public:
    explicit RenameForm(HINSTANCE instance);

    // Shows the item and waits, serving the user interface, until "&Done",
    // "&Stop Renaming" or the frame's close. True when the edits were read
    // back into `request` (a date or time that cannot be read, or that lies
    // outside what a DOS stamp carries, keeps the control's value, and the
    // user is told). False when renaming is stopped for this run and nothing
    // was asked.
    bool Ask(HWND owner, RenameRequest& request);

protected:
    bool OnLoad() override;

private:
    void Fill(const RenameRequest& request);
    void ReadBack(RenameRequest& request);
    void WaitForAnswer();
};

}  // namespace ulmarsh
