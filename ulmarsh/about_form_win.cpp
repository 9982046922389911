#include "ulmarsh/about_form_win.h"

#include "ulmarsh/resource.h"

namespace ulmarsh {
namespace {

using forms::Kind;

const forms::ControlSpec kControls[] = {
    {IDC_AB_ICON, Kind::Icon, 240, 240, 480, 480},
    {IDC_AB_TITLE, Kind::Label, 960, 240, 4200, 252, IDC_AB_TITLE},
    {IDC_AB_RIGHTS, Kind::Label, 960, 600, 4200, 720, IDC_AB_RIGHTS},
    {IDC_AB_OKBTN, Kind::DefaultButton, 3960, 1500, 1200, 360, IDC_AB_OKBTN},
};

const forms::FormSpec kSpec = {"UlmarshAboutForm", IDS_ABOUT_CAPTION, 5400, 2040, 0, kControls,
                               sizeof kControls / sizeof kControls[0]};

}  // namespace

AboutForm::AboutForm(HINSTANCE instance) : forms::Form(instance, kSpec) {}

bool AboutForm::OnLoad() {
    OnClick(IDC_AB_OKBTN, [this] { Unload(); });
    return true;
}

}  // namespace ulmarsh
