#include "ulmarsh/main_form_layout_win.h"

#include "framework/forms_checklist_win.h"
#include "ulmarsh/resource.h"

namespace ulmarsh {
namespace {

using forms::Kind;
constexpr UINT Tip(int id) { return id + kTipOffset; }

// Labels stand right-aligned before their boxes.
constexpr DWORD kRight = SS_RIGHT;

const forms::ControlSpec kControls[] = {
    // Archive, function and item selection.
    {IDC_LBL_ZIPFILE, Kind::Label, 0, 150, 1320, 252, IDC_LBL_ZIPFILE, 0, 0, 0, 0, kRight},
    {IDC_ZIPFILE, Kind::TextBox, 1380, 120, 5220, 288, 0, Tip(IDC_ZIPFILE)},
    {IDC_BROWSE, Kind::Button, 6720, 105, 1100, 330, IDC_BROWSE, Tip(IDC_BROWSE)},
    {IDC_LBL_VXFUNCTION, Kind::Label, 0, 540, 1320, 252, IDC_LBL_VXFUNCTION, 0, 0, 0, 0, kRight},
    {IDC_VXFUNCTION, Kind::DropDownList, 1380, 495, 3000, 315, 0, Tip(IDC_VXFUNCTION), 0,
     IDS_FUNCTION_FIRST, 8},
    {IDC_LBL_FILESPEC, Kind::Label, 0, 900, 1320, 252, IDC_LBL_FILESPEC, 0, 0, 0, 0, kRight},
    {IDC_FILESPEC, Kind::TextBox, 1380, 870, 6440, 288, 0, Tip(IDC_FILESPEC)},
    {IDC_LBL_DESTINATION, Kind::Label, 0, 1260, 1320, 252, IDC_LBL_DESTINATION, 0, 0, 0, 0,
     kRight},
    {IDC_DESTINATION, Kind::TextBox, 1380, 1230, 6440, 288, 0, Tip(IDC_DESTINATION)},
    {IDC_LBL_VXINDEX, Kind::Label, 0, 1620, 1320, 252, IDC_LBL_VXINDEX, 0, 0, 0, 0, kRight},
    {IDC_VXINDEX, Kind::TextBox, 1380, 1590, 780, 288, IDC_VXINDEX, Tip(IDC_VXINDEX)},
    {IDC_LBL_FRESHENUPDATE, Kind::Label, 2280, 1620, 1080, 252, IDC_LBL_FRESHENUPDATE, 0, 0, 0, 0,
     kRight},
    {IDC_FRESHENUPDATE, Kind::DropDownList, 3480, 1575, 1500, 315, 0, Tip(IDC_FRESHENUPDATE), 0,
     IDS_EXTRACTHOW_FIRST, 3},

    // Further options, left; status and progress switches, right.
    {IDC_FRAME_OPTIONS, Kind::Frame, 120, 2010, 3900, 3330, IDC_FRAME_OPTIONS},
    {IDC_MOREOPTIONS, Kind::CheckList, 120, 270, 3660, 2940, 0, Tip(IDC_MOREOPTIONS),
     IDC_FRAME_OPTIONS, IDS_OPTION_FIRST, 12},
    {IDC_DECRYPTCODECK, Kind::CheckBox, 4200, 2070, 1500, 252, IDC_DECRYPTCODECK,
     Tip(IDC_DECRYPTCODECK)},
    {IDC_DECRYPTCODETEXT, Kind::TextBox, 5760, 2040, 2060, 288, 0, Tip(IDC_DECRYPTCODETEXT)},
    {IDC_MAJORSTATUS, Kind::CheckBox, 4200, 2430, 1500, 252, IDC_MAJORSTATUS, Tip(IDC_MAJORSTATUS)},
    {IDC_MAJORSTATUSCTRL, Kind::Hosted, 5760, 2400, 2060, 300},
    {IDC_MINORSTATUS, Kind::CheckBox, 4200, 2790, 1500, 252, IDC_MINORSTATUS, Tip(IDC_MINORSTATUS)},
    {IDC_MINORSTATUSCTRL, Kind::Hosted, 5760, 2760, 2060, 300},
    {IDC_MINORCANCEL, Kind::CheckBox, 4200, 3150, 1500, 252, IDC_MINORCANCEL, Tip(IDC_MINORCANCEL)},
    {IDC_USEEXTERNALPROGRESS, Kind::CheckBox, 4200, 3510, 2400, 252, IDC_USEEXTERNALPROGRESS,
     Tip(IDC_USEEXTERNALPROGRESS)},
    {IDC_LBL_EXTPROGTITLE, Kind::Label, 4200, 3900, 1440, 252, IDC_LBL_EXTPROGTITLE},
    {IDC_EXTPROGTITLE, Kind::TextBox, 5760, 3870, 2060, 288, 0, Tip(IDC_EXTPROGTITLE), 0, 0, 0,
     WS_DISABLED},
    {IDC_EXTCANCEL, Kind::CheckBox, 4200, 4260, 1500, 252, IDC_EXTCANCEL, Tip(IDC_EXTCANCEL), 0, 0,
     0, WS_DISABLED},
    // No default button: Enter in a box must not start a run (an extraction
    // may overwrite files).
    {IDC_VXUNZIPBTN, Kind::Button, 4200, 4650, 1440, 360, IDC_VXUNZIPBTN, Tip(IDC_VXUNZIPBTN)},
    {IDC_VXCANCEL, Kind::Button, 5760, 4650, 1440, 360, IDC_VXCANCEL, Tip(IDC_VXCANCEL)},

    // Results of the run.
    {IDC_LBL_RETURNVALUE, Kind::Label, 0, 5550, 1320, 252, IDC_LBL_RETURNVALUE, 0, 0, 0, 0,
     kRight},
    {IDC_RETURNVALUE, Kind::TextBox, 1380, 5520, 780, 288, 0, Tip(IDC_RETURNVALUE), 0, 0, 0,
     WS_DISABLED},
    {IDC_LBL_VXCOUNT, Kind::Label, 2280, 5550, 600, 252, IDC_LBL_VXCOUNT, 0, 0, 0, 0, kRight},
    {IDC_VXCOUNT, Kind::TextBox, 3000, 5520, 1020, 288, 0, Tip(IDC_VXCOUNT), 0, 0, 0, WS_DISABLED},
    {IDC_LBL_RETURNSTRING, Kind::Label, 0, 5910, 1320, 252, IDC_LBL_RETURNSTRING, 0, 0, 0, 0,
     kRight},
    {IDC_RETURNSTRING, Kind::DisplayBox, 1380, 5880, 6440, 288, 0, Tip(IDC_RETURNSTRING)},

    {IDC_FRAME_ZIINFO, Kind::Frame, 120, 6300, 7700, 1710, IDC_FRAME_ZIINFO},
    {IDC_LBL_ZISZFILENAME, Kind::Label, 120, 300, 840, 252, IDC_LBL_ZISZFILENAME, 0,
     IDC_FRAME_ZIINFO, 0, 0, kRight},
    {IDC_ZISZFILENAME, Kind::DisplayBox, 1020, 270, 4080, 288, 0, Tip(IDC_ZISZFILENAME),
     IDC_FRAME_ZIINFO},
    {IDC_LBL_ZIATTR, Kind::Label, 5160, 300, 960, 252, IDC_LBL_ZIATTR, 0, IDC_FRAME_ZIINFO, 0, 0,
     kRight},
    {IDC_ZIATTR, Kind::DisplayBox, 6180, 270, 1380, 288, 0, Tip(IDC_ZIATTR), IDC_FRAME_ZIINFO},
    {IDC_LBL_ZISZDATETIME, Kind::Label, 120, 660, 840, 252, IDC_LBL_ZISZDATETIME, 0,
     IDC_FRAME_ZIINFO, 0, 0, kRight},
    {IDC_ZISZDATETIME, Kind::DisplayBox, 1020, 630, 2040, 288, 0, Tip(IDC_ZISZDATETIME),
     IDC_FRAME_ZIINFO},
    {IDC_LBL_ZICRC32, Kind::Label, 3120, 660, 720, 252, IDC_LBL_ZICRC32, 0, IDC_FRAME_ZIINFO, 0, 0,
     kRight},
    {IDC_ZICRC32, Kind::DisplayBox, 3900, 630, 1200, 288, 0, Tip(IDC_ZICRC32), IDC_FRAME_ZIINFO},
    {IDC_LBL_ZICPATHTYPE, Kind::Label, 5160, 660, 960, 252, IDC_LBL_ZICPATHTYPE, 0,
     IDC_FRAME_ZIINFO, 0, 0, kRight},
    {IDC_ZICPATHTYPE, Kind::DisplayBox, 6180, 630, 1380, 288, 0, Tip(IDC_ZICPATHTYPE),
     IDC_FRAME_ZIINFO},
    {IDC_LBL_ZICMETHOD, Kind::Label, 120, 1020, 840, 252, IDC_LBL_ZICMETHOD, 0, IDC_FRAME_ZIINFO,
     0, 0, kRight},
    {IDC_ZICMETHOD, Kind::DisplayBox, 1020, 990, 2040, 288, 0, Tip(IDC_ZICMETHOD),
     IDC_FRAME_ZIINFO},
    {IDC_LBL_ZICSIZE, Kind::Label, 3120, 1020, 720, 252, IDC_LBL_ZICSIZE, 0, IDC_FRAME_ZIINFO, 0, 0,
     kRight},
    {IDC_ZICSIZE, Kind::DisplayBox, 3900, 990, 1200, 288, 0, Tip(IDC_ZICSIZE), IDC_FRAME_ZIINFO},
    {IDC_LBL_ZIOSIZE, Kind::Label, 5160, 1020, 960, 252, IDC_LBL_ZIOSIZE, 0, IDC_FRAME_ZIINFO, 0, 0,
     kRight},
    {IDC_ZIOSIZE, Kind::DisplayBox, 6180, 990, 1380, 288, 0, Tip(IDC_ZIOSIZE), IDC_FRAME_ZIINFO},
    {IDC_LBL_ZIINDEX, Kind::Label, 120, 1380, 840, 252, IDC_LBL_ZIINDEX, 0, IDC_FRAME_ZIINFO, 0, 0,
     kRight},
    {IDC_ZIINDEX, Kind::DisplayBox, 1020, 1350, 2040, 288, 0, Tip(IDC_ZIINDEX), IDC_FRAME_ZIINFO},
};

const forms::FormSpec kSpec = {"UlmarshMainForm", IDS_MAIN_CAPTION, 7940, 8130, IDR_MAINMENU,
                               kControls, sizeof kControls / sizeof kControls[0]};

}  // namespace

const forms::FormSpec& MainFormSpec() { return kSpec; }

}  // namespace ulmarsh
