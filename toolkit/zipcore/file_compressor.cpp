#include "toolkit/zipcore/file_compressor.h"
#include "toolkit/zipcore/helper_thread.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <utility>

namespace zipcore {

namespace {

// Source bytes the helper may hold compressed ahead of the writer, per run and (for the many
// runs a process may have at once) in all runs together; and the largest file it takes.
constexpr uint64_t kAheadBudget = 8 * kInMemoryLimit;
constexpr uint64_t kProcessAheadBudget = 64 * kInMemoryLimit;
constexpr uint64_t kAheadFileLimit = 4 * kInMemoryLimit;
std::atomic<uint64_t> processAhead{0};

bool reserve(uint64_t bytes) {
    uint64_t now = processAhead.load();
    do {
        if (now + bytes > kProcessAheadBudget) return false;
    } while (!processAhead.compare_exchange_weak(now, now + bytes));
    return true;
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
            if (have > size * 2 + kInMemoryLimit) return ZipResult::ReadFailed;
            out.data.resize(have * 2);
        }
    }
    out.size = have;
    return ZipResult::Ok;
}

ZipResult deflateWhole(int level, CompressedFile& out) {
    Deflater d(level);
    if (!d.ready) return ZipResult::BadArgument;
    out.packed.resize(deflateBound(&d.z, uLong(out.size)));
    d.z.next_in = out.data.data();
    d.z.avail_in = unsigned(out.size);
    d.z.next_out = out.packed.data();
    d.z.avail_out = unsigned(out.packed.size());
    if (deflate(&d.z, Z_FINISH) != Z_STREAM_END) return ZipResult::WriteFailed;
    out.packedSize = out.packed.size() - d.z.avail_out;
    out.deflated = out.packedSize < out.size;
    return ZipResult::Ok;
}

// The writer's streaming calls: chunk by chunk without flushing, then an empty Z_FINISH.
ZipResult deflateChunks(int level, CompressedFile& out) {
    Deflater d(level);
    if (!d.ready) return ZipResult::BadArgument;
    out.packed.resize(size_t(deflateLimit(out.size)));
    d.z.next_out = out.packed.data();
    d.z.avail_out = unsigned(out.packed.size());
    size_t at = 0;
    for (bool atEnd = false; !atEnd;) {
        const size_t n = std::min(kStreamChunk, out.size - at);
        atEnd = n == 0;
        d.z.next_in = out.data.data() + at;
        d.z.avail_in = unsigned(n);
        at += n;
        const int rc = deflate(&d.z, atEnd ? Z_FINISH : Z_NO_FLUSH);
        if (rc == Z_STREAM_ERROR || d.z.avail_in != 0 || (atEnd && rc != Z_STREAM_END)) return ZipResult::WriteFailed;
    }
    out.packedSize = out.packed.size() - d.z.avail_out;
    out.deflated = out.packedSize < out.size;
    return ZipResult::Ok;
}

}  // namespace

void compressFile(FileSystem& fs, const std::string& path, int level, uint64_t streamLimit, CompressedFile& out) {
    out.code = ZipResult::Ok;
    out.streamed = out.asStream = out.deflated = false;
    out.size = out.packedSize = 0;
    out.crc = 0;
    try {
        std::unique_ptr<ReadFile> source = fs.openRead(path);
        if (!source) {
            out.code = ZipResult::ReadFailed;
            return;
        }
        const uint64_t size = source->size();
        out.asStream = size > kInMemoryLimit;
        if (out.asStream && size > streamLimit) {
            out.streamed = true;
            return;
        }
        out.code = readWhole(*source, size, out);
        if (out.code != ZipResult::Ok) return;
        out.crc = uint32_t(crc32(0, out.data.data(), unsigned(out.size)));
        if (level > 0 && out.asStream) out.code = deflateChunks(level, out);
        else if (level > 0 && out.size > 0) out.code = deflateWhole(level, out);
    } catch (const std::bad_alloc&) {
        out.code = ZipResult::ReadFailed;
    }
}

CompressAhead::CompressAhead(FileSystem& fs, std::vector<Job> jobs, int level)
    : fs_(fs), jobs_(std::move(jobs)), level_(level), results_(jobs_.size()), done_(jobs_.size(), false),
      reserved_(jobs_.size(), false) {
    if (!fs_.concurrentReads() || jobs_.size() <= 1) return;
    helper_ = StartHelper([this] { helperLoop(); });
}

CompressAhead::~CompressAhead() {
    StopHelper(helper_, mutex_, changed_, stop_);
    for (size_t i = 0; i < jobs_.size(); ++i)
        if (reserved_[i]) processAhead -= jobs_[i].size;
}

bool CompressAhead::mine(size_t index) const { return jobs_[index].size <= kAheadFileLimit; }

bool CompressAhead::compressNext(std::unique_lock<std::mutex>& lock) {
    if (nextUnclaimed_ == jobs_.size()) return false;
    const size_t i = nextUnclaimed_;
    if (mine(i) && pendingBytes_ > 0 && pendingBytes_ + jobs_[i].size > kAheadBudget) return false;
    ++nextUnclaimed_;
    // Files too large to hold are streamed by the writer; the work goes on after them.
    if (mine(i) && reserve(jobs_[i].size)) {
        reserved_[i] = true;
        pendingBytes_ += jobs_[i].size;
        if (!spare_.empty()) {
            results_[i] = std::move(spare_.back());
            spare_.pop_back();
        }
        lock.unlock();
        compressFile(fs_, jobs_[i].path, level_, kAheadFileLimit, results_[i]);
        lock.lock();
    } else {
        results_[i].streamed = true;
    }
    done_[i] = true;
    changed_.notify_all();
    return true;
}

void CompressAhead::helperLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_)
        if (!compressNext(lock)) changed_.wait(lock);
}

void CompressAhead::take(size_t index, CompressedFile& out) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (index >= nextUnclaimed_) {
        nextUnclaimed_ = index + 1;
        lock.unlock();
        changed_.notify_all();
        compressFile(fs_, jobs_[index].path, level_, 0, out);
        return;
    }
    // The helper has the job: rather than wait, compress one of the next ones meanwhile.
    while (!done_[index])
        if (!compressNext(lock)) changed_.wait(lock);
    std::swap(out, results_[index]);
    // The caller's previous buffers serve a later job: fresh large blocks for every file cost
    // the whole process (mapping and unmapping memory stalls every thread).
    if (spare_.size() < 2) spare_.push_back(std::move(results_[index]));
    results_[index] = CompressedFile();
    if (reserved_[index]) {
        pendingBytes_ -= jobs_[index].size;
        processAhead -= jobs_[index].size;
        reserved_[index] = false;
    }
    changed_.notify_all();
}

}  // namespace zipcore
