// Writes a single-file ZIP archive: new items from files, folder entries, and items copied
// unchanged from another archive, optionally behind a self-extractor's program. ZIP64 fields
// and records are written where a size, offset or count needs them, and only there.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/zipcore/file_compressor.h"
#include "toolkit/zipcore/file_system.h"
#include "toolkit/zipcore/zip_reader.h"
#include "toolkit/zipcore/zip_records.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

class RunProgress;

class ZipWriter {
public:
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Writes the archive into a file the caller created.
    ZipResult start(std::unique_ptr<WriteFile> file);
    // Copies the first `length` bytes of `from` (a self-extractor's program) before the first
    // item; the offsets written then count from the start of the file, as zip -A leaves them.
    ZipResult copyLeadingBytes(ReadFile& from, uint64_t length);
    // A file compressed in memory (compressFile): deflated (level 1-9) or stored (level 0, or
    // when deflating does not pay).
    ZipResult addCompressed(const std::string& storedName, const FileStat& stat, int level,
                            const CompressedFile& compressed, RunProgress& progress);
    // A file read and deflated (stored at level 0) as a stream, whatever its size; written
    // again stored when deflating did not pay.
    ZipResult addStreamed(FileSystem& fs, const std::string& sourcePath, const std::string& storedName,
                          const FileStat& stat, int level, RunProgress& progress);
    ZipResult addFolder(const std::string& storedName, const FileStat& stat);
    // Copies an item's compressed data as it is (encryption included).
    ZipResult copyItem(ZipArchive& source, const ZipEntry& entry);
    // Writes the central directory and end record and closes the file.
    ZipResult finish(const std::string& comment);

    size_t itemCount() const { return central_.size(); }
    // Closes the output without finishing it, so that it can be removed.
    void abandon() { file_.reset(); }

private:
    struct Written {
        ZipEntry entry;
        ItemLayout layout;
    };
    ZipResult writeLocalHeader(const ZipEntry& e, const ItemLayout& l, const std::string& extra);
    ZipResult addLargeFile(ReadFile& source, uint64_t size, ZipEntry& e, ItemLayout& l, int level,
                           RunProgress& progress);
    ZipResult deflateStream(ReadFile& source, ZipEntry& e, ItemLayout& l, int level, RunProgress& progress);
    // An item written `again` moves no bars but still lets the host cancel.
    ZipResult storeStream(ReadFile& source, ZipEntry& e, ItemLayout& l, RunProgress& progress, bool again = false);
    ZipResult copyBytes(ReadFile& from, uint64_t length);
    bool write(const void* data, size_t n);

    std::unique_ptr<WriteFile> file_;
    std::vector<Written> central_;
    std::vector<uint8_t> in_, out_;
    uint64_t offset_ = 0;
};

}  // namespace zipcore
