#include "toolkit/zipcore/inflate_ahead.h"
#include "toolkit/zipcore/helper_thread.h"

#include <new>
#include <utility>

namespace zipcore {

namespace {

// Bytes held inflated ahead of the run, per run and (for the many runs a process may have at
// once) in all runs together; and the largest item taken.
constexpr uint64_t kAheadBudget = 8 * 1024 * 1024;
constexpr uint64_t kAheadItemLimit = 4 * 1024 * 1024;
ProcessBudget processAhead(64 * 1024 * 1024);

}  // namespace

InflateAhead::InflateAhead(ZipArchive& archive, const std::vector<size_t>& items, const std::string& password,
                           size_t chunk)
    : archive_(archive), items_(items), password_(password), chunk_(chunk), states_(items.size(), State::Waiting),
      results_(items.size()) {
    if (!archive_.file().positionalReads() || items_.size() <= 1) return;
    helper_ = StartHelper([this] { helperLoop(); });
}

InflateAhead::~InflateAhead() {
    StopHelper(helper_, mutex_, changed_, stop_);
    for (size_t i = 0; i < items_.size(); ++i) release(i);
}

void InflateAhead::release(size_t order) {
    if (states_[order] == State::Done) {
        const uint64_t size = archive_.entries()[items_[order]].originalSize;
        pendingBytes_ -= size;
        processAhead.release(size);
        if (spare_.size() < 2) spare_.push_back(std::move(results_[order]));
        results_[order] = InflatedItem();
    }
    states_[order] = State::Gone;
}

void InflateAhead::read(size_t order, InflatedItem& out) {
    out.code = ZipResult::Ok;
    out.data.clear();
    out.chunks.clear();
    const ZipEntry& entry = archive_.entries()[items_[order]];
    ItemReader reader;
    out.code = reader.open(archive_, entry, password_);
    if (out.code != ZipResult::Ok) return;
    // The reader never gives more than the declared size.
    out.data.reserve(size_t(entry.originalSize) + chunk_);
    for (;;) {
        const size_t have = out.data.size();
        out.data.resize(have + chunk_);
        size_t got = 0;
        out.code = reader.read(out.data.data() + have, chunk_, got);
        if (out.code != ZipResult::Ok) got = 0;  // a failed read's bytes are never written
        out.data.resize(have + got);
        if (out.code != ZipResult::Ok || got == 0) return;
        out.chunks.push_back(got);
    }
}

void InflateAhead::helperLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        if (next_ == items_.size()) {
            changed_.wait(lock);
            continue;
        }
        const size_t order = next_;
        const ZipEntry& entry = archive_.entries()[items_[order]];
        const uint64_t size = entry.originalSize;
        if (entry.isDirectory() || size > kAheadItemLimit) {
            ++next_;  // left to the run, which reads it as it goes
            continue;
        }
        if (pendingBytes_ > 0 && pendingBytes_ + size > kAheadBudget) {
            changed_.wait(lock);
            continue;
        }
        ++next_;
        if (!processAhead.reserve(size)) continue;
        pendingBytes_ += size;
        states_[order] = State::Working;
        InflatedItem result;
        if (!spare_.empty()) {
            result = std::move(spare_.back());
            spare_.pop_back();
        }
        lock.unlock();
        bool whole = true;
        try {
            read(order, result);
        } catch (const std::bad_alloc&) {
            whole = false;  // the run reads it itself
        }
        lock.lock();
        results_[order] = std::move(result);
        states_[order] = State::Done;
        if (!whole || order < passed_) release(order);
        changed_.notify_all();
    }
}

bool InflateAhead::take(size_t order, InflatedItem& out) {
    std::unique_lock<std::mutex> lock(mutex_);
    // Items the run passed over go; one the helper is still reading goes when it is done.
    for (; passed_ < order; ++passed_)
        if (states_[passed_] != State::Working) release(passed_);
    passed_ = order;
    if (next_ <= order) {
        next_ = order + 1;  // not reached yet: the run reads it, and the helper goes on after it
        changed_.notify_all();
        return false;
    }
    while (states_[order] == State::Working) changed_.wait(lock);
    if (states_[order] != State::Done) {
        states_[order] = State::Gone;
        changed_.notify_all();
        return false;
    }
    std::swap(out, results_[order]);
    release(order);
    changed_.notify_all();
    return true;
}

}  // namespace zipcore
