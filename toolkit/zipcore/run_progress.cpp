#include "toolkit/zipcore/run_progress.h"

namespace zipcore {

bool confirmStop(RunEvents& events, bool statusCancel) {
    if (events.pollCancel()) return true;
    if (!statusCancel) return false;
    return events.message(MessageCode::ConfirmCancel, "Stop the operation?") != ResponseNo;
}

namespace {

// Archives may declare sizes up to 2^64: no product of them may wrap.
int32_t percentOf(uint64_t done, uint64_t total) {
    if (done >= total) return 100;
    if (total <= UINT64_MAX / 100) return int32_t(done * 100 / total);
    return int32_t(done / (total / 100));
}

uint64_t saturatedSum(uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

}  // namespace

int32_t RunProgress::majorPercent() const {
    if (totalBytes_ > 0) return percentOf(saturatedSum(doneBytes_, itemDone_), totalBytes_);
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
    const int32_t minor = itemSize_ ? percentOf(itemDone_, itemSize_) : 100;
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
    doneBytes_ = saturatedSum(doneBytes_, itemSize_);
    ++doneItems_;
    itemDone_ = 0;
    itemSize_ = 0;
    return !stopAsked(cancel);
}

bool RunProgress::finishRun(const std::string& text) {
    return !stopAsked(events_.majorStatus(text, 100));
}

}  // namespace zipcore
