// Compression of files in memory, and a helper thread that compresses the files of an add run
// ahead of the writer, so that two processors deflate at once. Results come back in list
// order and are the same bytes as one thread writes.
#pragma once

#include <zlib.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/zipcore/block_deflater.h"
#include "toolkit/zipcore/file_system.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

// Files up to this size are read whole and deflated in one call, by whichever thread gets to
// them, so that the bytes written depend on the file alone; larger ones are streamed by the
// writer.
constexpr uint64_t kWholeFileLimit = 8 * 1024 * 1024;
// Files up to this size a run compresses on its own thread without asking the process for
// room; their buffers are kept for the next file.
constexpr uint64_t kSmallFileLimit = 1024 * 1024;

// A raw deflate stream (no zlib header), as ZIP stores it.
struct Deflater {
    z_stream z{};
    bool ready = false;
    explicit Deflater(int level) {
        ready = deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflater() {
        if (ready) deflateEnd(&z);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
};

struct CompressedFile {
    ZipResult code = ZipResult::Ok;
    bool streamed = false;  // larger than kWholeFileLimit: the writer streams it instead
    bool deflated = false;
    uint32_t crc = 0;
    size_t size = 0;                // original bytes in data
    std::vector<uint8_t> data;      // the file
    std::vector<uint8_t> packed;    // its deflate stream when deflated
    size_t packedSize = 0;

    const uint8_t* body() const { return deflated ? packed.data() : data.data(); }
    size_t bodySize() const { return deflated ? packedSize : size; }
};

// Reads, checksums and (level 1-9) deflates one file with the calling thread's block deflater
// (made on first use); touches nothing shared. Files larger than kWholeFileLimit are left
// streamed.
void compressFile(FileSystem& fs, const std::string& path, int level, CompressedFile& out,
                  std::unique_ptr<BlockDeflater>& block);

// Deflate's output for `size` bytes never exceeds this (zlib's compressBound, in 64 bits).
inline uint64_t deflateLimit(uint64_t size) { return size + (size >> 12) + (size >> 14) + (size >> 25) + 13; }
// Chunk in which the writer reads and deflates streamed files.
constexpr size_t kStreamChunk = 256 * 1024;

class CompressAhead {
public:
    struct Job {
        std::string path;
        uint64_t size = 0;  // as listed
    };
    // Starts the helper only where the file system allows reads from two threads at once.
    CompressAhead(FileSystem& fs, std::vector<Job> jobs, int level);
    ~CompressAhead();
    CompressAhead(const CompressAhead&) = delete;
    CompressAhead& operator=(const CompressAhead&) = delete;

    // The result of job `index`; jobs are taken in order, and `out`'s previous result must be
    // written by then. Compresses on the calling thread when nobody has the job yet; while the
    // helper has it, compresses later jobs meanwhile.
    void take(size_t index, CompressedFile& out);

private:
    void helperLoop();
    // Compresses the next unclaimed job into results_ (lock held on entry and return); false
    // when there is none or the budget is spent.
    bool compressNext(std::unique_lock<std::mutex>& lock, std::unique_ptr<BlockDeflater>& block);
    // Gives back what the caller's previous result held: its room in the process and, for a
    // large file, its buffers.
    void releaseHeld(CompressedFile& out);

    FileSystem& fs_;
    const std::vector<Job> jobs_;
    const int level_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<CompressedFile> results_;
    std::vector<CompressedFile> spare_;  // buffers to reuse
    std::vector<bool> done_;
    std::vector<bool> helped_;  // compressed by the helper and not taken: counted in the budgets
    size_t nextUnclaimed_ = 0;
    uint64_t pendingBytes_ = 0;  // source bytes of jobs the helper compressed and nobody took yet
    uint64_t heldBytes_ = 0;     // process budget the caller's current result holds
    bool heldPermit_ = false;    // the caller compressed a large file itself
    bool stop_ = false;
    std::unique_ptr<BlockDeflater> helperBlock_, callerBlock_;  // one per thread
    std::thread helper_;
};

}  // namespace zipcore
