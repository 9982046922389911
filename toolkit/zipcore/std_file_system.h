// FileSystem over std::filesystem and stdio, for native tests and tools.
#pragma once

#include "toolkit/zipcore/file_system.h"

namespace zipcore {

class StdFileSystem : public FileSystem {
public:
    std::unique_ptr<ReadFile> openRead(const std::string& path) override;
    std::unique_ptr<WriteFile> create(const std::string& path) override;
    std::unique_ptr<WriteFile> createNew(const std::string& path) override;
    // Takes turns with the runs of this process only.
    std::unique_ptr<ArchiveLock> lockArchive(const std::string& path, const std::function<bool()>& stopWaiting,
                                             LockRefusal* refusal = nullptr) override;
    std::string canonicalPath(const std::string& path) override;
    bool stat(const std::string& path, FileStat& out) override;
    bool createFolder(const std::string& path) override;
    bool setModified(const std::string& path, DosDateTime when) override;
    bool setAttributes(const std::string& path, uint32_t attributes) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool renameNew(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
    bool listFolder(const std::string& path, std::vector<FolderEntry>& out) override;
    char separator() const override;
    bool caseSensitive() const override;
    bool concurrentReads() const override { return true; }
};

}  // namespace zipcore
