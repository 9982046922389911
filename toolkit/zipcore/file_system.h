// The file-system operations the ZIP engine needs. The engine never touches files directly:
// native tests use StdFileSystem; the Win32 controls supply one over the ANSI API.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/zipcore/dos_time.h"

namespace zipcore {

// DOS attribute bits as the controls report them.
enum : uint32_t {
    AttrReadOnly = 0x01,
    AttrHidden = 0x02,
    AttrSystem = 0x04,
    AttrVolume = 0x08,
    AttrDirectory = 0x10,
    AttrArchive = 0x20,
    AttrEncrypted = 0x8000,   // item information only: the item is password-encrypted
    AttrLongName = 0x10000,   // item information only: the name is not a plain 8.3 name
};

struct FileStat {
    bool isDirectory = false;
    uint64_t size = 0;
    DosDateTime modified;   // last write, local time
    uint32_t attributes = 0;  // DOS bits 0x01..0x20
};

struct FolderEntry {
    std::string name;  // name only, no folder part; "." and ".." are never listed
    bool isDirectory = false;
    bool isLink = false;  // a symbolic link or junction: never walked into
};

// Held while a run reads, updates and replaces one archive; released when destroyed.
class ArchiveLock {
public:
    virtual ~ArchiveLock() = default;
};

// Why lockArchive gave no lock.
enum class LockRefusal {
    None,
    Stopped,      // the host stopped the wait
    Busy,         // this thread already holds the archive's lock (an update from its own event)
    Unavailable,  // the lock cannot be created or opened
};

class ReadFile {
public:
    virtual ~ReadFile() = default;
    // Reads up to n bytes; got == 0 with true means end of file.
    virtual bool read(void* buffer, size_t n, size_t& got) = 0;
    virtual bool seek(uint64_t position) = 0;
    virtual uint64_t size() const = 0;
};

class WriteFile {
public:
    virtual ~WriteFile() = default;
    virtual bool write(const void* data, size_t n) = 0;
    virtual bool seek(uint64_t position) = 0;
    virtual uint64_t position() const = 0;
    // Ends the file at the current position (what lay beyond is dropped).
    virtual bool truncate() = 0;
    // Flushes and closes; false when any write could not be completed.
    virtual bool close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::unique_ptr<ReadFile> openRead(const std::string& path) = 0;
    // Creates or truncates; null when the file cannot be created.
    virtual std::unique_ptr<WriteFile> create(const std::string& path) = 0;
    // Creates a file that did not exist; null when something is there already (or the file
    // cannot be created), so that no two runs ever write one temporary file.
    virtual std::unique_ptr<WriteFile> createNew(const std::string& path) {
        FileStat st;
        return stat(path, st) ? nullptr : create(path);
    }
    // Waits until no other run, in this process or another, updates the archive at `path`;
    // `stopWaiting` is asked between waits and ends the wait with null when it says so. Null
    // also when the lock cannot be had at all; `refusal` then says why.
    virtual std::unique_ptr<ArchiveLock> lockArchive(const std::string& path,
                                                     const std::function<bool()>& stopWaiting,
                                                     LockRefusal* refusal = nullptr) {
        (void)path;
        (void)stopWaiting;
        (void)refusal;
        return std::make_unique<ArchiveLock>();
    }
    // One spelling per file: the full path with its folder's and its own long names (short
    // names, relative parts and '/' resolved), so that equal results name one file. The
    // case is kept; compare without it where the file system ignores it.
    virtual std::string canonicalPath(const std::string& path) { return path; }
    // False when nothing exists at the path.
    virtual bool stat(const std::string& path, FileStat& out) = 0;
    // Creates one folder level; true also when it already exists as a folder.
    virtual bool createFolder(const std::string& path) = 0;
    virtual bool setModified(const std::string& path, DosDateTime when) = 0;
    // Sets the DOS bits 0x01 | 0x02 | 0x04 | 0x20; other bits are ignored.
    virtual bool setAttributes(const std::string& path, uint32_t attributes) = 0;
    // Renames a file, replacing an existing target file.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    // Renames a file onto a name where nothing is; false when anything is there, also a file
    // that is only waiting to be deleted.
    virtual bool renameNew(const std::string& from, const std::string& to) {
        FileStat st;
        return !stat(to, st) && rename(from, to);
    }
    // Puts a finished new archive in place of the old one in one step, its data flushed to the
    // disk first; false when the old one cannot be replaced so (a program is reading it).
    virtual bool replace(const std::string& from, const std::string& to) { return rename(from, to); }
    virtual bool remove(const std::string& path) = 0;
    // All entries of a folder, in any order.
    virtual bool listFolder(const std::string& path, std::vector<FolderEntry>& out) = 0;

    // '\\' on Windows, '/' elsewhere; the engine also accepts '/' in every input.
    virtual char separator() const = 0;
    // Whether names differ by case alone (false on Windows).
    virtual bool caseSensitive() const = 0;
    // Longest path the platform can open (0: no limit). Longer paths are refused, never cut.
    virtual size_t maxPathLength() const { return 0; }
    // Whether files may be opened and read on a second thread while the first one works, so
    // that a run can compress on two processors.
    virtual bool concurrentReads() const { return false; }
};

}  // namespace zipcore
