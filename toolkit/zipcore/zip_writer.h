// Writes a single-file ZIP archive: new items from files, folder entries, and items copied
// unchanged from another archive.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/zipcore/file_system.h"
#include "toolkit/zipcore/zip_reader.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

class RunProgress;

class ZipWriter {
public:
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    ZipResult create(FileSystem& fs, const std::string& path);
    // Deflates (level 1-9) or stores (level 0, or when deflating does not pay) one file.
    ZipResult addFile(FileSystem& fs, const std::string& sourcePath, const std::string& storedName,
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
    ZipResult writeLocalHeader(const ZipEntry& e, const std::string& extra);
    ZipResult deflateStream(ReadFile& source, ZipEntry& e, int level, RunProgress& progress);
    ZipResult storeStream(ReadFile& source, ZipEntry& e, RunProgress& progress);
    bool write(const void* data, size_t n);

    std::unique_ptr<WriteFile> file_;
    std::vector<ZipEntry> central_;
    std::vector<uint8_t> in_, out_;
    uint64_t offset_ = 0;
};

// Central-directory record of an entry at a given disk and offset (split archives use the
// disk; single files pass 0).
std::string centralRecord(const ZipEntry& e, uint16_t disk, uint32_t offset);
std::string localHeader(const ZipEntry& e, const std::string& extra);

}  // namespace zipcore
