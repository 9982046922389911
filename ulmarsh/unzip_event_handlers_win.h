// The main form's handlers of the unzip control's four events. They run on
// the user-interface thread, nested inside the control's Action write.
#pragma once

#include "framework/vxcontrols.h"
#include "ulmarsh/control_properties.h"

namespace ulmarsh {

class MainForm;

class UnzipEventHandlers : public vx::EventHandlers {
public:
    UnzipEventHandlers(MainForm& main, ControlProperties& majorStatus,
                       ControlProperties& minorStatus)
        : main_(main), majorStatus_(majorStatus), minorStatus_(minorStatus) {}

    void MajorStatusEvent(BSTR* text, long* percent, long* cancel) override;
    void MinorStatusEvent(BSTR* text, long* percent, long* cancel) override;
    void MessageEvent(long* code, long* n2, long* n3, long* n4, BSTR* text, BSTR* title,
                      long* response) override;
    void RenameEvent(BSTR* itemName, long* date, long* time, long* attributes,
                     BSTR* originalName, long* response) override;

    // Where a failed status-display call is recorded; the run takes it from here.
    PropertySession& Session() { return session_; }

private:
    void Status(ControlProperties& display, BSTR* text, long* percent, long* cancel);

    MainForm& main_;
    ControlProperties& majorStatus_;
    ControlProperties& minorStatus_;
    PropertySession session_;
};

}  // namespace ulmarsh
