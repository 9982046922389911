// The second thread that works ahead of a run (compressing or inflating the next items).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace zipcore {

// Starts `body` on a thread of its own; an empty thread when the process can have no more, and
// the run then does the helper's work itself.
template <class Body>
std::thread StartHelper(Body body) {
    try {
        return std::thread(std::move(body));
    } catch (const std::system_error&) {
        return std::thread();
    }
}

// Tells a helper that waits on `changed` to stop, and waits until it has.
inline void StopHelper(std::thread& helper, std::mutex& mutex, std::condition_variable& changed, bool& stop) {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stop = true;
    }
    changed.notify_all();
    if (helper.joinable()) helper.join();
}

// Bytes the helpers of all runs in a process may hold at once (a process may run many archives
// at once, each on its own thread, in 2 GiB of address space).
class ProcessBudget {
public:
    constexpr explicit ProcessBudget(uint64_t limit) : limit_(limit) {}
    bool reserve(uint64_t bytes) {
        uint64_t now = used_.load();
        do {
            if (now + bytes > limit_) return false;
        } while (!used_.compare_exchange_weak(now, now + bytes));
        return true;
    }
    void release(uint64_t bytes) { used_ -= bytes; }

private:
    const uint64_t limit_;
    std::atomic<uint64_t> used_{0};
};

}  // namespace zipcore
