#include "toolkit/zipcore/run_progress.h"

namespace zipcore {

bool confirmStop(RunEvents& events, bool statusCancel) {
    if (events.pollCancel()) return true;
    if (!statusCancel) return false;
    return events.message(MessageCode::ConfirmCancel, "Stop the operation?") != ResponseNo;
}

int32_t RunProgress::majorPercent() const {
    if (totalBytes_ > 0) return int32_t((doneBytes_ + itemDone_) * 100 / totalBytes_);
    if (totalItems_ > 0) return int32_t(doneItems_ * 100 / totalItems_);
    return 100;
}

bool RunProgress::stopAsked(bool statusCancel) { return confirmStop(events_, statusCancel); }

bool RunProgress::startItem(const std::string& majorText, const std::string& itemName, uint64_t itemSize) {
    majorText_ = majorText;
    itemName_ = itemName;
    itemSize_ = itemSize;
    itemDone_ = 0;
    lastMajor_ = majorPercent();
    lastMinor_ = 0;
    bool cancel = events_.majorStatus(majorText, lastMajor_);
    cancel = events_.minorStatus(itemName_, 0) || cancel;
    return !stopAsked(cancel);
}

bool RunProgress::advance(uint64_t bytes) {
    itemDone_ += bytes;
    if (itemDone_ > itemSize_) itemDone_ = itemSize_;
    const int32_t minor = itemSize_ ? int32_t(itemDone_ * 100 / itemSize_) : 100;
    bool cancel = false;
    // Only changes are reported, so a large item raises at most about a hundred events.
    if (minor != lastMinor_) {
        lastMinor_ = minor;
        cancel = events_.minorStatus(itemName_, minor);
    }
    const int32_t major = majorPercent();
    if (major != lastMajor_) {
        lastMajor_ = major;
        cancel = events_.majorStatus(majorText_, major) || cancel;
    }
    return !stopAsked(cancel);
}

bool RunProgress::finishItem() {
    bool cancel = false;
    if (lastMinor_ != 100) cancel = events_.minorStatus(itemName_, 100);
    doneBytes_ += itemSize_;
    ++doneItems_;
    itemDone_ = 0;
    itemSize_ = 0;
    return !stopAsked(cancel);
}

bool RunProgress::finishRun(const std::string& text) {
    return !stopAsked(events_.majorStatus(text, 100));
}

}  // namespace zipcore
