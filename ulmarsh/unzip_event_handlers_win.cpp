#include "ulmarsh/unzip_event_handlers_win.h"

#include "ulmarsh/main_form_win.h"
#include "ulmarsh/module1.h"
#include "ulmarsh/rename_form_win.h"
#include "ulmarsh/unzip_events.h"

namespace ulmarsh {

void UnzipEventHandlers::Status(ControlProperties& display, BSTR* text, long* percent,
                                long* cancel) {
    if (!text || !percent || !cancel) return;
    ShowStatus(session_, display, BstrToAnsi(*text), static_cast<int32_t>(*percent));
    *cancel = SharedState().CancelRequested;
    // A display that cannot be written ends the run; the failure is shown after it.
    if (!session_.ok()) *cancel = kTrue;
}

void UnzipEventHandlers::MajorStatusEvent(BSTR* text, long* percent, long* cancel) {
    Status(majorStatus_, text, percent, cancel);
}

void UnzipEventHandlers::MinorStatusEvent(BSTR* text, long* percent, long* cancel) {
    Status(minorStatus_, text, percent, cancel);
}

void UnzipEventHandlers::MessageEvent(long* code, long*, long*, long*, BSTR*, BSTR* title,
                                      long* response) {
    if (response) *response = 0;
    if (!code || !title) return;
    if (const char* replacement = MessageTitleFor(static_cast<int32_t>(*code)))
        vx::ReplaceBstr(title, replacement);
}

void UnzipEventHandlers::RenameEvent(BSTR* itemName, long* date, long* time, long* attributes,
                                     BSTR* originalName, long* response) {
    if (!itemName || !date || !time || !attributes || !originalName || !response) return;
    const std::string shownName = BstrToAnsi(*itemName);
    RenameRequest request{shownName, BstrToAnsi(*originalName),
                          static_cast<int32_t>(*date), static_cast<int32_t>(*time),
                          static_cast<int32_t>(*attributes)};
    if (main_.Rename().Ask(main_.hwnd(), request)) {
        // The box holds the name as this code page can show it: written back unchanged, it
        // means the name as it was (not its lossy ANSI form, where in code page 932 a yen
        // sign would come back as a backslash).
        if (request.itemName != shownName) vx::ReplaceBstr(itemName, request.itemName.c_str());
        *date = request.date;
        *time = request.time;
        *attributes = request.attributes;
    }
    *response = 0;
}

}  // namespace ulmarsh
