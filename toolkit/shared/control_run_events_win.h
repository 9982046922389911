// Turns the engine's progress, message and rename callbacks into the
// controls' events (raised on the calling thread, inside the Action write)
// and drives the control's own progress window.
#pragma once

#include "toolkit/shared/dispatch_control_win.h"
#include "toolkit/shared/progress_window_win.h"
#include "toolkit/zipcore/run_events.h"

namespace vxcom {

struct RunEventSettings {
    bool majorEvents = false;     // MajorStatusFlag
    bool minorEvents = false;     // MinorStatusFlag
    bool minorCancel = false;     // OptionBits 2: pump the queue and honour cancel at minor events
    bool quiet = false;           // QuietFlag: unanswered messages are not shown
    bool promptNextVolume = false; // ask for the next volume (removable target media only)
    bool progressWindow = false;  // OptionBits 4
    bool progressCancel = false;  // OptionBits 8
    std::string progressTitle;    // ExtProgTitle
    std::string messageTitle;     // title offered with MessageEvent
    bool logSteps = false;        // DiagnosticLogFlag: the log also names each step and item
};

class ControlRunEvents final : public zipcore::RunEvents {
public:
    ControlRunEvents(DispatchControl& control, const RunEventSettings& settings);

    bool majorStatus(const std::string& text, int32_t percent) override;
    bool minorStatus(const std::string& text, int32_t percent) override;
    int32_t message(zipcore::MessageCode code, const std::string& text) override;
    int32_t rename(zipcore::RenameRequest& request) override;
    bool pollCancel() override;

    // What the run reported: every message ("message <code>: <text>") and, with
    // logSteps, each new step and item, one per line.
    const std::string& Log() const { return log_; }

private:
    bool Status(DISPID event, const std::string& text, int32_t percent);

    DispatchControl& control_;
    RunEventSettings settings_;
    ProgressWindow progress_;
    std::string log_;
    std::string lastMajor_, lastMinor_;
};

// Ends an Action whose setting up threw (the engine's runs end with a result themselves):
// raises the message and gives the ReturnValue. Call from a catch (...) block.
short ResultOfException(DispatchControl& control, const std::string& messageTitle) noexcept;

// Lets the calling thread's queue run (the host's windows repaint and its
// Cancel button works while the run goes on).
void PumpThreadMessages();

} // namespace vxcom
