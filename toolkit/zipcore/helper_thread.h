// The second thread that works ahead of a run (compressing or inflating the next items).
#pragma once

#include <condition_variable>
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

}  // namespace zipcore
