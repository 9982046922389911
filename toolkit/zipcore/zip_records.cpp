#include "toolkit/zipcore/zip_records.h"

#include <algorithm>

#include "toolkit/zipcore/byte_order.h"
#include "toolkit/zipcore/extra_fields.h"

namespace zipcore {

namespace {

constexpr uint32_t kZip64EndSig = 0x06064b50;
constexpr size_t kZip64EndSize = 56;

void put64(std::string& out, uint64_t v) {
    put32(out, uint32_t(v));
    put32(out, uint32_t(v >> 32));
}

uint32_t field32(uint64_t v) { return needsZip64(v) ? uint32_t(kZip64Marker32) : uint32_t(v); }

std::string extraBlock(uint16_t id, const std::string& data) {
    std::string b;
    put16(b, id);
    put16(b, uint16_t(data.size()));
    return b + data;
}

}  // namespace

ItemLayout copiedLayout(const ZipEntry& e, uint64_t offset) {
    ItemLayout l;
    l.compressedSize = e.compressedSize;
    l.originalSize = e.originalSize;
    l.offset = offset;
    l.zip64Local = l.sizesNeedZip64();
    return l;
}

uint16_t versionNeeded(const ZipEntry& e, const ItemLayout& l) {
    return l.zip64Local || l.centralNeedsZip64() ? std::max(e.versionNeeded, kZip64Version) : e.versionNeeded;
}

std::string localZip64Values(const ItemLayout& l) {
    std::string v;
    put64(v, l.originalSize);
    put64(v, l.compressedSize);
    return v;
}

std::string localCrcAndSizes(const ZipEntry& e, const ItemLayout& l) {
    std::string h;
    put32(h, e.crc32);
    put32(h, l.zip64Local ? uint32_t(kZip64Marker32) : uint32_t(l.compressedSize));
    put32(h, l.zip64Local ? uint32_t(kZip64Marker32) : uint32_t(l.originalSize));
    return h;
}

size_t localZip64ValuesAt(const ZipEntry& e) { return kLocalHeaderSize + e.headerName().size() + 4; }

std::string localHeader(const ZipEntry& e, const ItemLayout& l, const std::string& extra) {
    // The ZIP64 block goes first, where localZip64ValuesAt finds it.
    std::string fields = withoutExtraBlock(extra, kZip64ExtraId);
    if (l.zip64Local) fields = extraBlock(kZip64ExtraId, localZip64Values(l)) + fields;
    std::string h;
    h.reserve(kLocalHeaderSize + e.headerName().size() + fields.size());
    put32(h, kLocalHeaderSig);
    put16(h, versionNeeded(e, l));
    put16(h, e.flags);
    put16(h, e.method);
    put16(h, e.dosTime);
    put16(h, e.dosDate);
    h += localCrcAndSizes(e, l);
    put16(h, uint16_t(e.headerName().size()));
    put16(h, uint16_t(fields.size()));
    h += e.headerName();
    h += fields;
    return h;
}

std::string centralRecord(const ZipEntry& e, const ItemLayout& l) {
    std::string zip64;
    if (needsZip64(l.originalSize)) put64(zip64, l.originalSize);
    if (needsZip64(l.compressedSize)) put64(zip64, l.compressedSize);
    if (needsZip64(l.offset)) put64(zip64, l.offset);
    std::string extra = withoutExtraBlock(e.extra, kZip64ExtraId);
    if (!zip64.empty()) extra = extraBlock(kZip64ExtraId, zip64) + extra;

    std::string h;
    h.reserve(kCentralHeaderSize + e.headerName().size() + extra.size() + e.comment.size());
    put32(h, kCentralHeaderSig);
    put16(h, e.versionMadeBy);
    put16(h, versionNeeded(e, l));
    put16(h, e.flags);
    put16(h, e.method);
    put16(h, e.dosTime);
    put16(h, e.dosDate);
    put32(h, e.crc32);
    put32(h, field32(l.compressedSize));
    put32(h, field32(l.originalSize));
    put16(h, uint16_t(e.headerName().size()));
    put16(h, uint16_t(extra.size()));
    put16(h, uint16_t(e.comment.size()));
    put16(h, l.disk);
    put16(h, e.internalAttributes);
    put32(h, e.externalAttributes);
    put32(h, field32(l.offset));
    h += e.headerName();
    h += extra;
    h += e.comment;
    return h;
}

std::string dataDescriptor(const ZipEntry& e, const ItemLayout& l) {
    std::string d;
    put32(d, kDataDescriptorSig);
    put32(d, e.crc32);
    if (l.zip64Local) {
        put64(d, l.compressedSize);
        put64(d, l.originalSize);
    } else {
        put32(d, uint32_t(l.compressedSize));
        put32(d, uint32_t(l.originalSize));
    }
    return d;
}

std::string directoryEnd(uint64_t entries, uint64_t centralSize, uint64_t centralOffset, uint64_t at,
                         const std::string& comment) {
    std::string out;
    const bool zip64 = entries >= kZip64Marker16 || needsZip64(centralSize) || needsZip64(centralOffset);
    if (zip64) {
        put32(out, kZip64EndSig);
        put64(out, kZip64EndSize - 12);
        put16(out, kZip64Version);
        put16(out, kZip64Version);
        put32(out, 0);
        put32(out, 0);
        put64(out, entries);
        put64(out, entries);
        put64(out, centralSize);
        put64(out, centralOffset);
        put32(out, kZip64LocatorSig);
        put32(out, 0);
        put64(out, at);
        put32(out, 1);
    }
    const uint16_t count = uint16_t(std::min<uint64_t>(entries, kZip64Marker16));
    put32(out, kEndRecordSig);
    put16(out, 0);
    put16(out, 0);
    put16(out, count);
    put16(out, count);
    put32(out, field32(centralSize));
    put32(out, field32(centralOffset));
    const std::string kept = comment.substr(0, 0xFFFF);
    put16(out, uint16_t(kept.size()));
    return out + kept;
}

}  // namespace zipcore
