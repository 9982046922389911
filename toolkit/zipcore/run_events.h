// Callbacks through which a run reports progress and asks the host. They are called on the
// thread that runs the operation, inside the call.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

struct RenameRequest {
    std::string name;          // in: name the item will be written under; host may change it
    uint16_t dosDate = 0;      // in/out: time stamp given to the extracted file
    uint16_t dosTime = 0;
    uint32_t attributes = 0;   // in/out: attribute bits (item information meaning)
    std::string originalName;  // in: name as stored in the archive
};

class RunEvents {
public:
    virtual ~RunEvents() = default;

    // Progress of the whole run (percent 0-100); text names the run's step. Return true to
    // ask for the run to stop (the engine then confirms with MessageCode::ConfirmCancel).
    // Called whatever the host's status switches say: the host decides what to show.
    virtual bool majorStatus(const std::string& text, int32_t percent) { (void)text; (void)percent; return false; }
    // Progress of the current item; text is the item's name.
    virtual bool minorStatus(const std::string& text, int32_t percent) { (void)text; (void)percent; return false; }
    // A message the host may answer with a Response value; ResponseDefault means unanswered.
    virtual int32_t message(MessageCode code, const std::string& text) { (void)code; (void)text; return ResponseDefault; }
    // Called per item when renaming is allowed. Return 0 to go on with the (changed) values,
    // 1 to skip the item, 2 to stop the run (result Cancelled).
    virtual int32_t rename(RenameRequest& request) { (void)request; return 0; }
    // Polled between buffers, e.g. for a progress window's Cancel button. True stops at once.
    virtual bool pollCancel() { return false; }
};

}  // namespace zipcore
