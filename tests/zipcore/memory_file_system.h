// A FileSystem held in memory, for fuzzing and for checks of where a run writes.
#pragma once

#include <map>
#include <string>

#include "toolkit/zipcore/file_system.h"

namespace ziptest {

class MemoryFileSystem : public zipcore::FileSystem {
public:
    struct Node {
        bool folder = false;
        std::string data;
        zipcore::DosDateTime modified;
        uint32_t attributes = 0;
    };
    std::map<std::string, Node> nodes;  // full path -> node; "/" separated
    size_t pathLimit = 0;
    // Refuse, as Windows does, to replace a read-only, hidden or system file by renaming.
    bool refuseProtectedTargets = false;

    std::unique_ptr<zipcore::ReadFile> openRead(const std::string& path) override;
    std::unique_ptr<zipcore::WriteFile> create(const std::string& path) override;
    bool stat(const std::string& path, zipcore::FileStat& out) override;
    bool createFolder(const std::string& path) override;
    bool setModified(const std::string& path, zipcore::DosDateTime when) override;
    bool setAttributes(const std::string& path, uint32_t attributes) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
    bool listFolder(const std::string& path, std::vector<zipcore::FolderEntry>& out) override;
    char separator() const override { return '/'; }
    bool caseSensitive() const override { return true; }
    size_t maxPathLength() const override { return pathLimit; }
};

}  // namespace ziptest
