// The application's table of job slots: a job takes the first free entry and
// keeps it for the rest of the run, so a run admits kJobSlots jobs.
#pragma once

#include <array>
#include <mutex>

namespace corvane {

constexpr int kJobSlots = 100;

template <class Thread, class Dialog>
class JobSlotTable {
public:
    struct Slot {
        Thread* thread = nullptr;
        Dialog* dialog = nullptr;
    };

    // Index of the slot taken, or -1 when the table is full. One lock for
    // both kinds of job, which take their slots under different named mutexes.
    int Take(Thread* thread, Dialog* dialog)
    {
        std::lock_guard<std::mutex> hold(lock_);
        for (int i = 0; i < kJobSlots; ++i) {
            if (slots_[i].thread == nullptr) {
                slots_[i].thread = thread;
                slots_[i].dialog = dialog;
                ++count_;
                return i;
            }
        }
        return -1;
    }

    long Count() const
    {
        std::lock_guard<std::mutex> hold(lock_);
        return count_;
    }

    Slot At(int index) const
    {
        std::lock_guard<std::mutex> hold(lock_);
        return slots_.at(static_cast<std::size_t>(index));
    }

private:
    mutable std::mutex lock_;
    long count_ = 0;
    std::array<Slot, kJobSlots> slots_{};
};

} // namespace corvane
