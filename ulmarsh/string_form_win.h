// The form `unzipstringfrm`: unzips part of one archive item into memory,
// with every other option taken from the main form.
#pragma once

#include "framework/forms_form_win.h"

namespace ulmarsh {

class MainForm;

class StringForm : public forms::Form {
public:
    StringForm(HINSTANCE instance, MainForm& main);

    // The run button is disabled while any run is in progress.
    void SetRunEnabled(bool enabled);

protected:
    bool OnLoad() override;

private:
    void Browse();
    void RunStringUnzip();

    MainForm& main_;
};

}  // namespace ulmarsh
