#include "skerrit/dialogs/dialogs_win.h"
#include "skerrit/run_state_win.h"

INT_PTR ShowModal(int template_id, DLGPROC procedure) {
    return DialogBoxParamA(Handles().instance, MAKEINTRESOURCEA(template_id), Handles().main_window,
                           procedure, 0);
}

INT_PTR ShowNotice(int template_id) {
    Settings().notice_template = template_id;
    return ShowModal(template_id, NoticeDialog);
}
