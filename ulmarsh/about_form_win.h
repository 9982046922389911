// The About form.
#pragma once

#include "framework/forms_form_win.h"

namespace ulmarsh {

class AboutForm : public forms::Form {
public:
    explicit AboutForm(HINSTANCE instance);

protected:
    bool OnLoad() override;
};

}  // namespace ulmarsh
