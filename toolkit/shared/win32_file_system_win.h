// The ZIP engine's file-system interface over the wide Win32 API (names are UTF-8 inside the engine).
#pragma once

#include "toolkit/zipcore/file_system.h"

namespace vxfs {

class Win32FileSystem final : public zipcore::FileSystem {
public:
    std::unique_ptr<zipcore::ReadFile> openRead(const std::string& path) override;
    std::unique_ptr<zipcore::WriteFile> create(const std::string& path) override;
    std::unique_ptr<zipcore::WriteFile> createNew(const std::string& path) override;
    // A named mutex per archive, keyed by its folder's identity and its long name, so that
    // runs in every thread and process that host the controls take turns on one archive
    // whatever spelling names it (archive_lock_win.cpp).
    std::unique_ptr<zipcore::ArchiveLock> lockArchive(const std::string& path,
                                                      const std::function<bool()>& stopWaiting,
                                                      zipcore::LockRefusal* refusal = nullptr) override;
    // The full path with long names (short names, relative parts and '/' resolved).
    std::string canonicalPath(const std::string& path) override;
    bool stat(const std::string& path, zipcore::FileStat& out) override;
    bool createFolder(const std::string& path) override;
    bool setModified(const std::string& path, zipcore::DosDateTime when) override;
    bool setAttributes(const std::string& path, uint32_t attributes) override;
    // The system marks every new file for backup (the archive bit) and nothing else.
    uint32_t newFileAttributes() const override { return zipcore::AttrArchive; }
    bool rename(const std::string& from, const std::string& to) override;
    // Fails on any existing name, also one only waiting to be deleted.
    bool renameNew(const std::string& from, const std::string& to) override;
    // Flushes `from`, then one MoveFileEx over `to`; a file open elsewhere is not replaced
    // (the engine moves it aside: its readers share deletion).
    bool replace(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
    bool listFolder(const std::string& path, std::vector<zipcore::FolderEntry>& out) override;
    char separator() const override { return '\\'; }
    bool caseSensitive() const override { return false; }
    size_t maxPathLength() const override;
    bool concurrentReads() const override { return true; }
};

} // namespace vxfs
