// Layout of the main form, in twips.
#pragma once

#include "framework/forms_form_win.h"

namespace ulmarsh {

const forms::FormSpec& MainFormSpec();

}  // namespace ulmarsh
