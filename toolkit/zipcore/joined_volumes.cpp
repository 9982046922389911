#include "toolkit/zipcore/joined_volumes.h"

#include <algorithm>

#include "toolkit/zipcore/split_writer.h"

namespace zipcore {

std::unique_ptr<JoinedVolumes> JoinedVolumes::open(FileSystem& fs, const std::string& lastPath,
                                                   std::unique_ptr<ReadFile> last, uint32_t count,
                                                   std::string& missing) {
    missing.clear();
    if (count == 0 || count > kMaxSplitVolumes) return nullptr;
    std::unique_ptr<JoinedVolumes> set(new JoinedVolumes(fs, std::move(last)));
    set->volumes_.reserve(count);
    for (uint32_t number = 1; number <= count; ++number) {
        Volume v;
        v.path = volumeName(lastPath, int(number), int(count));
        v.start = set->total_;
        if (number == count) {
            v.size = set->last_->size();
        } else {
            FileStat st;
            if (!fs.stat(v.path, st) || st.isDirectory) {
                missing = v.path;
                return nullptr;
            }
            v.size = st.size;
        }
        set->total_ += v.size;
        set->volumes_.push_back(std::move(v));
    }
    return set;
}

ReadFile* JoinedVolumes::volumeFile(size_t index) {
    if (index + 1 == volumes_.size()) return last_.get();
    if (index != currentIndex_) {
        current_.reset();
        currentIndex_ = SIZE_MAX;
        std::unique_ptr<ReadFile> file = fs_.openRead(volumes_[index].path);
        // A volume that changed since the set was opened would shift every later byte.
        if (!file || file->size() != volumes_[index].size) return nullptr;
        current_ = std::move(file);
        currentIndex_ = index;
    }
    return current_.get();
}

bool JoinedVolumes::seek(uint64_t position) {
    if (position > total_) return false;
    position_ = position;
    return true;
}

bool JoinedVolumes::read(void* buffer, size_t n, size_t& got) {
    got = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (n > 0 && position_ < total_) {
        // The last volume starting at or before the position; empty volumes hold no byte.
        const auto after = std::upper_bound(volumes_.begin(), volumes_.end(), position_,
                                            [](uint64_t p, const Volume& v) { return p < v.start; });
        const size_t index = size_t(after - volumes_.begin()) - 1;
        const Volume& v = volumes_[index];
        ReadFile* file = volumeFile(index);
        const uint64_t within = position_ - v.start;
        if (!file || !file->seek(within)) return false;
        const size_t want = size_t(std::min<uint64_t>(n, v.size - within));
        size_t part = 0;
        if (!file->read(out, want, part) || part == 0 || part > want) return false;
        out += part;
        got += part;
        n -= part;
        position_ += part;
    }
    return true;
}

bool JoinedVolumes::position(uint32_t disk, uint64_t offset, uint64_t& out, bool endAllowed) const {
    if (disk >= volumes_.size()) return false;
    const Volume& v = volumes_[disk];
    if (offset > v.size || (offset == v.size && !endAllowed)) return false;
    out = v.start + offset;
    return true;
}

}  // namespace zipcore
