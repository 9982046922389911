// The ZIP engine's file-system interface over the ANSI Win32 API.
#pragma once

#include "toolkit/zipcore/file_system.h"

namespace vxfs {

class Win32FileSystem final : public zipcore::FileSystem {
public:
    std::unique_ptr<zipcore::ReadFile> openRead(const std::string& path) override;
    std::unique_ptr<zipcore::WriteFile> create(const std::string& path) override;
    std::unique_ptr<zipcore::WriteFile> createNew(const std::string& path) override;
    // A named mutex per archive, derived from its full path without regard to case, so that
    // runs in every thread and process that host the controls take turns on one archive.
    std::unique_ptr<zipcore::ArchiveLock> lockArchive(const std::string& path,
                                                      const std::function<bool()>& stopWaiting) override;
    bool stat(const std::string& path, zipcore::FileStat& out) override;
    bool createFolder(const std::string& path) override;
    bool setModified(const std::string& path, zipcore::DosDateTime when) override;
    bool setAttributes(const std::string& path, uint32_t attributes) override;
    // The system marks every new file for backup (the archive bit) and nothing else.
    uint32_t newFileAttributes() const override { return zipcore::AttrArchive; }
    bool rename(const std::string& from, const std::string& to) override;
    // A file open elsewhere cannot be replaced, but it can be renamed and deleted when its
    // readers share deletion (as this class's readers do): the old archive moves aside and
    // goes once the last reader closes it.
    bool replace(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
    bool listFolder(const std::string& path, std::vector<zipcore::FolderEntry>& out) override;
    char separator() const override { return '\\'; }
    bool caseSensitive() const override { return false; }
    size_t maxPathLength() const override;
    bool concurrentReads() const override { return true; }
};

} // namespace vxfs
