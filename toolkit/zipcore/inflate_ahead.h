// A helper thread that reads and inflates the items of an extraction ahead of the run, so that
// two processors work: the run writes one item while the next ones inflate. The helper only
// reads the archive and computes; everything the host or the disk sees stays on the run's
// thread, in item order, from the same reads a run without the helper makes.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/zipcore/zip_reader.h"

namespace zipcore {

struct InflatedItem {
    ZipResult code = ZipResult::Ok;  // how reading the item ended (Ok: whole, CRC checked)
    std::vector<uint8_t> data;       // the bytes read before that
    std::vector<size_t> chunks;      // the sizes the reads gave them in, in order
};

class InflateAhead {
public:
    // `items` are entry indexes in the run's order. The helper runs only where the archive's
    // file takes positional reads from two threads, and takes only file items up to 4 MiB,
    // read in reads of `chunk` bytes.
    InflateAhead(ZipArchive& archive, const std::vector<size_t>& items, const std::string& password, size_t chunk);
    ~InflateAhead();
    InflateAhead(const InflateAhead&) = delete;
    InflateAhead& operator=(const InflateAhead&) = delete;

    // Item `order` (a position in `items`) as the helper read it, waiting while it works on
    // it; false when the run is to read it itself. Items before `order` are passed over.
    bool take(size_t order, InflatedItem& out);

private:
    enum class State : uint8_t { Waiting, Working, Done, Gone };
    void helperLoop();
    void read(size_t order, InflatedItem& out);
    void release(size_t order);  // lock held

    ZipArchive& archive_;
    const std::vector<size_t> items_;
    const std::string password_;
    const size_t chunk_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<State> states_;
    std::vector<InflatedItem> results_;
    std::vector<InflatedItem> spare_;  // buffers to reuse
    size_t next_ = 0;                  // first item the helper has not looked at
    size_t passed_ = 0;                // items before this one the run is done with
    uint64_t pendingBytes_ = 0;        // sizes of items read ahead and not yet taken
    bool stop_ = false;
    std::thread helper_;
};

}  // namespace zipcore
