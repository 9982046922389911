// The volumes of a split archive (name.z01, name.z02, ..., name.zip) read as one stream. Byte
// `offset` of volume `disk` lies at the sizes of the volumes before it plus `offset`, and a read
// runs on from one volume into the next, so that items and directories may cross volumes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/zipcore/file_system.h"

namespace zipcore {

class JoinedVolumes final : public ReadFile {
public:
    // `last` is the open last volume (the archive's own name); the others are looked for beside
    // it. Null when one of them is missing; `missing` then names it. The volumes other than the
    // last are opened one at a time as reads reach them: a set may have thousands.
    static std::unique_ptr<JoinedVolumes> open(FileSystem& fs, const std::string& lastPath,
                                               std::unique_ptr<ReadFile> last, uint32_t count,
                                               std::string& missing);

    bool read(void* buffer, size_t n, size_t& got) override;
    bool seek(uint64_t position) override;
    uint64_t size() const override { return total_; }

    // Stream position of byte `offset` of volume `disk`; false when that volume is shorter.
    // The end of a volume itself counts as in it only with `endAllowed` (an empty directory).
    bool position(uint32_t disk, uint64_t offset, uint64_t& out, bool endAllowed = false) const;

private:
    struct Volume {
        std::string path;
        uint64_t start = 0;
        uint64_t size = 0;
    };
    JoinedVolumes(FileSystem& fs, std::unique_ptr<ReadFile> last) : fs_(fs), last_(std::move(last)) {}
    ReadFile* volumeFile(size_t index);

    FileSystem& fs_;
    std::vector<Volume> volumes_;
    std::unique_ptr<ReadFile> last_;
    std::unique_ptr<ReadFile> current_;  // the open volume other than the last
    size_t currentIndex_ = SIZE_MAX;
    uint64_t total_ = 0;
    uint64_t position_ = 0;
};

// Volumes a split set may have: the 32-bit end record's disk numbers are 16 bits. A ZIP64 set
// claiming more is taken as damaged.
constexpr uint32_t kMaxSplitVolumes = 0x10000;

}  // namespace zipcore
