#include "toolkit/zipcore/split_writer.h"

#include <algorithm>
#include <memory>

#include "toolkit/zipcore/byte_order.h"
#include "toolkit/zipcore/zip_reader.h"
#include "toolkit/zipcore/zip_records.h"

namespace zipcore {

namespace {

constexpr size_t kChunk = 256 * 1024;
constexpr int kMaxVolumes = 0xFFFF;

class VolumeSet {
public:
    VolumeSet(FileSystem& fs, const std::string& prefix, uint32_t size, uint32_t firstSize, RunEvents& events)
        : fs_(fs), prefix_(prefix), size_(size), firstSize_(firstSize ? firstSize : size), events_(events) {}

    int volumes() const { return number_; }
    uint16_t disk() const { return uint16_t(number_ - 1); }
    uint32_t offset() const { return uint32_t(used_); }

    // Makes room for a record that must not be divided.
    ZipResult reserve(size_t n) {
        if (!file_) return next();
        if (used_ + n > limit()) return next();
        return ZipResult::Ok;
    }
    ZipResult write(const void* data, size_t n, bool divisible) {
        if (!divisible) {
            const ZipResult r = reserve(n);
            if (r != ZipResult::Ok) return r;
            if (n > limit() - used_) return ZipResult::TooLarge;
        }
        const auto* p = static_cast<const uint8_t*>(data);
        while (n > 0) {
            if (!file_ || used_ == limit()) {
                const ZipResult r = next();
                if (r != ZipResult::Ok) return r;
            }
            const size_t part = size_t(std::min<uint64_t>(n, limit() - used_));
            if (!file_->write(p, part)) return ZipResult::WriteFailed;
            used_ += part;
            p += part;
            n -= part;
        }
        return ZipResult::Ok;
    }
    ZipResult close() {
        if (file_ && !file_->close()) return ZipResult::WriteFailed;
        file_.reset();
        return ZipResult::Ok;
    }

private:
    uint64_t limit() const { return number_ <= 1 ? firstSize_ : size_; }
    ZipResult next() {
        if (close() != ZipResult::Ok) return ZipResult::WriteFailed;
        if (number_ >= kMaxVolumes) return ZipResult::TooLarge;
        if (number_ >= 1 &&
            events_.message(MessageCode::NextVolume, "Starting volume " + std::to_string(number_ + 1)) == ResponseNo)
            return ZipResult::Cancelled;
        ++number_;
        file_ = fs_.createNew(splitTempName(prefix_, number_));
        used_ = 0;
        return file_ ? ZipResult::Ok : ZipResult::CreateFailed;
    }

    FileSystem& fs_;
    std::string prefix_;
    uint64_t size_, firstSize_;
    RunEvents& events_;
    std::unique_ptr<WriteFile> file_;
    int number_ = 0;
    uint64_t used_ = 0;
};

ZipResult copyRange(ReadFile& in, uint64_t from, uint64_t n, VolumeSet& out, std::vector<uint8_t>& buffer) {
    if (!in.seek(from)) return ZipResult::ArchiveDamaged;
    while (n > 0) {
        size_t got = 0;
        const size_t want = size_t(std::min<uint64_t>(n, buffer.size()));
        if (!in.read(buffer.data(), want, got) || got == 0) return ZipResult::ArchiveDamaged;
        const ZipResult r = out.write(buffer.data(), got, true);
        if (r != ZipResult::Ok) return r;
        n -= got;
    }
    return ZipResult::Ok;
}

}  // namespace

std::string volumeName(const std::string& archivePath, int number, int volumes) {
    if (number >= volumes) return archivePath;
    std::string base = archivePath;
    const size_t dot = base.find_last_of('.');
    const size_t sep = base.find_last_of("/\\");
    if (dot != std::string::npos && (sep == std::string::npos || dot > sep)) base.erase(dot);
    const std::string digits = std::to_string(number);
    return base + ".z" + (number < 10 ? "0" : "") + digits;
}

std::string splitTempName(const std::string& tempPrefix, int number) {
    return tempPrefix + "." + std::to_string(number);
}

ZipResult writeSplitVolumes(FileSystem& fs, const std::string& singlePath, uint32_t volumeSize,
                            uint32_t firstVolumeSize, const std::string& tempPrefix, RunEvents& events,
                            int& volumeCount) {
    volumeCount = 0;
    ZipArchive archive;
    ZipResult r = archive.open(fs, singlePath);
    if (r != ZipResult::Ok) return r;
    // The end record of a split archive is written with 16-bit counts only.
    if (archive.entries().size() >= kZip64Marker16) return ZipResult::TooLarge;
    VolumeSet out(fs, tempPrefix, volumeSize, firstVolumeSize, events);
    std::vector<uint8_t> buffer(kChunk);
    std::string marker;
    put32(marker, kDataDescriptorSig);
    r = out.write(marker.data(), marker.size(), false);

    std::vector<ItemLayout> placed;
    const std::vector<ZipEntry>& entries = archive.entries();
    for (size_t i = 0; i < entries.size() && r == ZipResult::Ok; ++i) {
        const ZipEntry& e = entries[i];
        std::string extra;
        uint64_t dataAt = 0;
        r = archive.localExtra(e, extra);
        if (r == ZipResult::Ok) r = archive.dataOffset(e, dataAt);
        if (r != ZipResult::Ok) break;
        ItemLayout l = copiedLayout(e, 0);
        const std::string header = localHeader(e, l, extra);
        r = out.reserve(header.size());
        if (r != ZipResult::Ok) break;
        l.disk = out.disk();
        l.offset = out.offset();
        placed.push_back(l);
        r = out.write(header.data(), header.size(), false);
        // The single file's data descriptors were written by this engine, sized as copiedLayout says.
        const uint64_t trailer = (e.flags & 0x0008) ? dataDescriptor(e, l).size() : 0;
        if (r == ZipResult::Ok) r = copyRange(archive.file(), dataAt, l.compressedSize + trailer, out, buffer);
    }
    if (r != ZipResult::Ok) {
        out.close();
        volumeCount = out.volumes();
        return r;
    }

    uint16_t centralDisk = 0;
    uint32_t centralOffset = 0;
    uint64_t centralSize = 0;
    uint16_t onLastDisk = 0, lastRecordDisk = 0;
    for (size_t i = 0; i < entries.size() && r == ZipResult::Ok; ++i) {
        const std::string record = centralRecord(entries[i], placed[i]);
        r = out.reserve(record.size());
        if (r != ZipResult::Ok) break;
        if (i == 0) {
            centralDisk = out.disk();
            centralOffset = out.offset();
        }
        if (i == 0 || out.disk() != lastRecordDisk) onLastDisk = 0;
        lastRecordDisk = out.disk();
        r = out.write(record.data(), record.size(), false);
        centralSize += record.size();
        ++onLastDisk;
    }
    if (r == ZipResult::Ok) {
        const std::string comment = archive.comment();
        std::string end;
        put32(end, kEndRecordSig);
        r = out.reserve(kEndRecordSize + comment.size());
        if (entries.empty()) {
            centralDisk = out.disk();
            centralOffset = out.offset();
        }
        // Directory records on the disk that holds the end record.
        const uint16_t hereCount = out.disk() == lastRecordDisk ? onLastDisk : 0;
        put16(end, out.disk());
        put16(end, centralDisk);
        put16(end, hereCount);
        put16(end, uint16_t(entries.size()));
        put32(end, uint32_t(centralSize));
        put32(end, centralOffset);
        put16(end, uint16_t(comment.size()));
        end += comment;
        if (r == ZipResult::Ok) r = out.write(end.data(), end.size(), false);
    }
    const ZipResult closed = out.close();
    volumeCount = out.volumes();
    return r != ZipResult::Ok ? r : closed;
}

}  // namespace zipcore
