// Compression of files in memory, and a helper thread that compresses the files of an add run
// ahead of the writer, so that two processors deflate at once. Results come back in list
// order and are the same bytes as one thread writes.
#pragma once

#include <zlib.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/zipcore/file_system.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

// Files up to this size are compressed in memory, so that stored can win when deflating would
// make them bigger; larger ones are streamed.
constexpr uint64_t kInMemoryLimit = 1024 * 1024;

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
    bool streamed = false;  // too large to be held here: the writer streams it instead
    // Compressed as the writer streams a file larger than kInMemoryLimit (same deflate calls,
    // stored when that did not pay, as the writer then does), for the same bytes.
    bool asStream = false;
    bool deflated = false;
    uint32_t crc = 0;
    size_t size = 0;                // original bytes in data
    std::vector<uint8_t> data;      // the file
    std::vector<uint8_t> packed;    // its deflate stream when deflated
    size_t packedSize = 0;

    const uint8_t* body() const { return deflated ? packed.data() : data.data(); }
    size_t bodySize() const { return deflated ? packedSize : size; }
};

// Reads, checksums and (level 1-9) deflates one file; touches nothing shared. Files larger
// than kInMemoryLimit are compressed as a stream up to streamLimit bytes, else left streamed.
void compressFile(FileSystem& fs, const std::string& path, int level, uint64_t streamLimit, CompressedFile& out);

// Deflate's output for `size` bytes never exceeds this (zlib's compressBound, in 64 bits).
inline uint64_t deflateLimit(uint64_t size) { return size + (size >> 12) + (size >> 14) + (size >> 25) + 13; }
// Chunk in which the writer reads and deflates streamed files.
constexpr size_t kStreamChunk = 256 * 1024;

class CompressAhead {
public:
    struct Job {
        std::string path;
        uint64_t size = 0;  // as listed; files too large to hold ahead are left to the writer
    };
    // Starts the helper only where the file system allows reads from two threads at once.
    CompressAhead(FileSystem& fs, std::vector<Job> jobs, int level);
    ~CompressAhead();
    CompressAhead(const CompressAhead&) = delete;
    CompressAhead& operator=(const CompressAhead&) = delete;

    // The result of job `index`; jobs are taken in order. Compresses on the calling thread when
    // nobody has the job yet; while the helper has it, compresses later jobs meanwhile.
    void take(size_t index, CompressedFile& out);

private:
    void helperLoop();
    // Compresses the next unclaimed job into results_ (lock held on entry and return); false
    // when there is none or the budget is spent.
    bool compressNext(std::unique_lock<std::mutex>& lock);
    bool mine(size_t index) const;

    FileSystem& fs_;
    const std::vector<Job> jobs_;
    const int level_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<CompressedFile> results_;
    std::vector<CompressedFile> spare_;  // buffers to reuse
    std::vector<bool> done_, reserved_;  // reserved: counted in the run's and the process's budget
    size_t nextUnclaimed_ = 0;
    uint64_t pendingBytes_ = 0;  // source bytes of jobs the helper claimed and nobody took yet
    bool stop_ = false;
    std::thread helper_;
};

}  // namespace zipcore
