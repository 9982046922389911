#include "tests/zipcore/memory_file_system.h"

#include <algorithm>
#include <cstring>

namespace ziptest {

using namespace zipcore;

namespace {

class MemoryReader : public ReadFile {
public:
    explicit MemoryReader(std::string data) : data_(std::move(data)) {}
    bool read(void* buffer, size_t n, size_t& got) override {
        got = pos_ >= data_.size() ? 0 : std::min(n, size_t(data_.size() - pos_));
        if (got) std::memcpy(buffer, data_.data() + pos_, got);
        pos_ += got;
        return true;
    }
    bool seek(uint64_t position) override {
        pos_ = position;
        return true;
    }
    uint64_t size() const override { return data_.size(); }

private:
    std::string data_;
    uint64_t pos_ = 0;
};

class MemoryWriter : public WriteFile {
public:
    explicit MemoryWriter(std::string& target) : target_(target) {}
    bool write(const void* data, size_t n) override {
        if (pos_ + n > target_.size()) target_.resize(size_t(pos_ + n));
        std::memcpy(&target_[size_t(pos_)], data, n);
        pos_ += n;
        return true;
    }
    bool seek(uint64_t position) override {
        if (position > target_.size()) return false;
        pos_ = position;
        return true;
    }
    uint64_t position() const override { return pos_; }
    bool truncate() override {
        target_.resize(size_t(pos_));
        return true;
    }
    bool close() override { return true; }

private:
    std::string& target_;
    uint64_t pos_ = 0;
};

}  // namespace

std::unique_ptr<ReadFile> MemoryFileSystem::openRead(const std::string& path) {
    auto it = nodes.find(path);
    if (it == nodes.end() || it->second.folder) return nullptr;
    return std::make_unique<MemoryReader>(it->second.data);
}

std::unique_ptr<WriteFile> MemoryFileSystem::create(const std::string& path) {
    Node& n = nodes[path];
    if (n.folder) return nullptr;
    n.data.clear();
    return std::make_unique<MemoryWriter>(n.data);
}

bool MemoryFileSystem::stat(const std::string& path, FileStat& out) {
    auto it = nodes.find(path);
    if (it == nodes.end()) return false;
    out = FileStat{};
    out.isDirectory = it->second.folder;
    out.size = it->second.data.size();
    out.modified = it->second.modified;
    out.attributes = it->second.attributes | (it->second.folder ? AttrDirectory : 0);
    return true;
}

bool MemoryFileSystem::createFolder(const std::string& path) {
    Node& n = nodes[path];
    if (!n.folder && !n.data.empty()) return false;
    n.folder = true;
    return true;
}

bool MemoryFileSystem::setModified(const std::string& path, DosDateTime when) {
    auto it = nodes.find(path);
    if (it == nodes.end()) return false;
    it->second.modified = when;
    return true;
}

bool MemoryFileSystem::setAttributes(const std::string& path, uint32_t attributes) {
    auto it = nodes.find(path);
    if (it == nodes.end()) return false;
    it->second.attributes = attributes & (AttrReadOnly | AttrHidden | AttrSystem | AttrArchive);
    return true;
}

bool MemoryFileSystem::rename(const std::string& from, const std::string& to) {
    auto it = nodes.find(from);
    if (it == nodes.end()) return false;
    auto target = nodes.find(to);
    if (refuseProtectedTargets && target != nodes.end() &&
        (target->second.attributes & (AttrReadOnly | AttrHidden | AttrSystem)))
        return false;
    Node moved = it->second;
    nodes.erase(it);
    nodes[to] = std::move(moved);
    return true;
}

bool MemoryFileSystem::remove(const std::string& path) { return nodes.erase(path) > 0; }

bool MemoryFileSystem::listFolder(const std::string& path, std::vector<FolderEntry>& out) {
    const std::string prefix = path + "/";
    for (const auto& [name, node] : nodes) {
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string rest = name.substr(prefix.size());
        if (rest.empty() || rest.find('/') != std::string::npos) continue;
        out.push_back(FolderEntry{rest, node.folder});
    }
    return true;
}

}  // namespace ziptest
