// Progress of one run as the status callbacks report it: percent of the whole run by bytes
// (by items when all are empty) and percent of the current item, reported when they change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/zipcore/run_events.h"

namespace zipcore {

class RunProgress {
public:
    explicit RunProgress(RunEvents& events) : events_(events) {}
    void setTotal(uint64_t totalBytes, size_t totalItems) { totalBytes_ = totalBytes; totalItems_ = totalItems; }
    // Reports the start of an item; false when the run is to stop.
    bool startItem(const std::string& majorText, const std::string& itemName, uint64_t itemSize);
    // Reports bytes of the current item; false when the run is to stop.
    bool advance(uint64_t bytes);
    bool finishItem();
    bool finishRun(const std::string& text);

private:
    bool stopAsked(bool statusCancel);
    int32_t majorPercent() const;

    RunEvents& events_;
    uint64_t totalBytes_ = 0, doneBytes_ = 0;
    size_t totalItems_ = 0, doneItems_ = 0;
    std::string majorText_, itemName_;
    uint64_t itemSize_ = 0, itemDone_ = 0;
    int32_t lastMinor_ = -1, lastMajor_ = -1;
};

// True when the host, through a status cancel confirmed by message 13 or through pollCancel,
// wants the run to stop.
bool confirmStop(RunEvents& events, bool statusCancel);

}  // namespace zipcore
