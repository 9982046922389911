#include "toolkit/zipcore/file_compressor.h"
#include "toolkit/zipcore/helper_thread.h"

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

namespace zipcore {

namespace {

// A process may run many archives at once, each on its own thread, in 2 GiB of address space.
// Source bytes the helper may hold compressed ahead of the writer, per run and in all runs
// together (until the writer is done with them).
constexpr uint64_t kAheadBudget = 8 * kSmallFileLimit;
ProcessBudget processAhead(64 * kSmallFileLimit);

// Large files the runs compress on their own threads, at most so many at once in the process.
// A run waits for one only while it holds none, so every holder goes on.
class LargeFilePermits {
public:
    void acquire() {
        std::unique_lock<std::mutex> lock(mutex_);
        freed_.wait(lock, [this] { return free_ > 0; });
        --free_;
    }
    void release() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            ++free_;
        }
        freed_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable freed_;
    int free_ = 4;
};

LargeFilePermits& largeFilePermits() {
    static LargeFilePermits permits;
    return permits;
}

ZipResult readWhole(ReadFile& source, uint64_t size, CompressedFile& out) {
    // One byte more than expected shows a file that grew while it was read.
    out.data.resize(size_t(size) + 1);
    size_t have = 0;
    for (;;) {
        size_t got = 0;
        if (!source.read(out.data.data() + have, out.data.size() - have, got)) return ZipResult::ReadFailed;
        if (got == 0) break;
        have += got;
        if (have == out.data.size()) {
            if (have > size * 2 + kSmallFileLimit) return ZipResult::ReadFailed;
            out.data.resize(have * 2);
        }
    }
    out.size = have;
    return ZipResult::Ok;
}

}  // namespace

void compressFile(FileSystem& fs, const std::string& path, int level, CompressedFile& out,
                  std::unique_ptr<BlockDeflater>& block) {
    out.code = ZipResult::Ok;
    out.streamed = out.deflated = false;
    out.size = out.packedSize = 0;
    out.crc = 0;
    try {
        std::unique_ptr<ReadFile> source = fs.openRead(path);
        if (!source) {
            out.code = ZipResult::ReadFailed;
            return;
        }
        const uint64_t size = source->size();
        if (size > kWholeFileLimit) {
            out.streamed = true;
            return;
        }
        out.code = readWhole(*source, size, out);
        if (out.code != ZipResult::Ok) return;
        out.crc = uint32_t(crc32(0, out.data.data(), unsigned(out.size)));
        if (level > 0 && out.size > 0) {
            if (!block) block.reset(new BlockDeflater(level));
            out.packedSize = block->deflate(out.data.data(), out.size, out.packed);
            out.deflated = out.packedSize > 0;
        }
    } catch (const std::bad_alloc&) {
        out.code = ZipResult::ReadFailed;
    }
}

CompressAhead::CompressAhead(FileSystem& fs, std::vector<Job> jobs, int level)
    : fs_(fs), jobs_(std::move(jobs)), level_(level), results_(jobs_.size()), done_(jobs_.size(), false),
      helped_(jobs_.size(), false) {
    if (!fs_.concurrentReads() || jobs_.size() <= 1) return;
    helper_ = StartHelper([this] { helperLoop(); });
}

CompressAhead::~CompressAhead() {
    StopHelper(helper_, mutex_, changed_, stop_);
    for (size_t i = 0; i < jobs_.size(); ++i)
        if (helped_[i]) processAhead.release(jobs_[i].size);
    processAhead.release(heldBytes_);
    if (heldPermit_) largeFilePermits().release();
}

bool CompressAhead::compressNext(std::unique_lock<std::mutex>& lock, std::unique_ptr<BlockDeflater>& block) {
    if (nextUnclaimed_ == jobs_.size()) return false;
    const size_t i = nextUnclaimed_;
    const uint64_t size = jobs_[i].size;
    const bool fits = size <= kWholeFileLimit;
    if (fits && pendingBytes_ > 0 && pendingBytes_ + size > kAheadBudget) return false;
    ++nextUnclaimed_;
    // Files too large to hold are streamed by the writer, and those the process has no room
    // for are left to the run's own thread; the work goes on after them.
    if (fits && processAhead.reserve(size)) {
        helped_[i] = true;
        pendingBytes_ += size;
        if (!spare_.empty()) {
            results_[i] = std::move(spare_.back());
            spare_.pop_back();
        }
        lock.unlock();
        compressFile(fs_, jobs_[i].path, level_, results_[i], block);
        lock.lock();
    }
    done_[i] = true;
    changed_.notify_all();
    return true;
}

void CompressAhead::helperLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_)
        if (!compressNext(lock, helperBlock_)) changed_.wait(lock);
}

void CompressAhead::releaseHeld(CompressedFile& out) {
    if (heldBytes_) {
        processAhead.release(heldBytes_);
        heldBytes_ = 0;
    }
    if (heldPermit_) {
        largeFilePermits().release();
        heldPermit_ = false;
    }
    if (out.data.capacity() > kSmallFileLimit + 1) out = CompressedFile();
}

void CompressAhead::take(size_t index, CompressedFile& out) {
    releaseHeld(out);
    std::unique_lock<std::mutex> lock(mutex_);
    if (index >= nextUnclaimed_) {
        nextUnclaimed_ = index + 1;
        lock.unlock();
        changed_.notify_all();
    } else {
        // The helper has the job: rather than wait, compress one of the next ones meanwhile.
        while (!done_[index])
            if (!compressNext(lock, callerBlock_)) changed_.wait(lock);
        if (helped_[index]) {
            std::swap(out, results_[index]);
            // The caller's previous buffers serve a later job: fresh large blocks for every
            // file cost the whole process (mapping and unmapping memory stalls every thread).
            if (spare_.size() < 2 && results_[index].data.capacity() <= kSmallFileLimit + 1)
                spare_.push_back(std::move(results_[index]));
            results_[index] = CompressedFile();
            pendingBytes_ -= jobs_[index].size;
            heldBytes_ = jobs_[index].size;  // from the job to the caller, until its next take
            helped_[index] = false;
            changed_.notify_all();
            return;
        }
        lock.unlock();
    }
    if (jobs_[index].size > kSmallFileLimit && jobs_[index].size <= kWholeFileLimit) {
        largeFilePermits().acquire();
        heldPermit_ = true;
    }
    compressFile(fs_, jobs_[index].path, level_, out, callerBlock_);
}

}  // namespace zipcore
