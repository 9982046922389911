#include "toolkit/zipcore/std_file_system.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <map>
#include <system_error>
#include <thread>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zipcore {

namespace fsys = std::filesystem;

namespace {

constexpr size_t kStreamBuffer = 256 * 1024;

int seek64(std::FILE* f, uint64_t position) {
#if defined(_WIN32)
    return _fseeki64(f, static_cast<__int64>(position), SEEK_SET);
#else
    return fseeko(f, static_cast<off_t>(position), SEEK_SET);
#endif
}

bool truncate64(std::FILE* f, uint64_t length) {
    if (std::fflush(f) != 0) return false;
#if defined(_WIN32)
    return _chsize_s(_fileno(f), static_cast<__int64>(length)) == 0;
#else
    return ftruncate(fileno(f), static_cast<off_t>(length)) == 0;
#endif
}

class StdReadFile : public ReadFile {
public:
    StdReadFile(std::FILE* f, uint64_t size) : file_(f), size_(size) {
        std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer);
    }
    ~StdReadFile() override { std::fclose(file_); }
    bool read(void* buffer, size_t n, size_t& got) override {
        got = std::fread(buffer, 1, n, file_);
        return got == n || !std::ferror(file_);
    }
    bool seek(uint64_t position) override { return seek64(file_, position) == 0; }
    uint64_t size() const override { return size_; }

private:
    std::FILE* file_;
    uint64_t size_;
};

class StdWriteFile : public WriteFile {
public:
    explicit StdWriteFile(std::FILE* f) : file_(f) { std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer); }
    ~StdWriteFile() override {
        if (file_) std::fclose(file_);
    }
    bool write(const void* data, size_t n) override {
        if (!file_ || std::fwrite(data, 1, n, file_) != n) return ok_ = false;
        position_ += n;
        return true;
    }
    bool seek(uint64_t position) override {
        if (!file_ || seek64(file_, position) != 0) return ok_ = false;
        position_ = position;
        return true;
    }
    uint64_t position() const override { return position_; }
    bool truncate() override {
        if (!file_ || !truncate64(file_, position_)) return ok_ = false;
        return true;
    }
    bool close() override {
        if (!file_) return false;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        return ok_ && closed;
    }

private:
    std::FILE* file_;
    uint64_t position_ = 0;
    bool ok_ = true;
};

std::time_t toTimeT(fsys::file_time_type t) {
    const auto system = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
        t - fsys::file_time_type::clock::now() + std::chrono::system_clock::now());
    return std::chrono::system_clock::to_time_t(system);
}

fsys::file_time_type fromTimeT(std::time_t t) {
    const auto system = std::chrono::system_clock::from_time_t(t);
    return std::chrono::time_point_cast<fsys::file_time_type::duration>(
        system - std::chrono::system_clock::now() + fsys::file_time_type::clock::now());
}

// Archives some run of this process is updating, by canonical path, and the thread of each.
std::mutex lockedMutex;
std::map<std::string, std::thread::id> lockedArchives;

class HeldArchive : public ArchiveLock {
public:
    explicit HeldArchive(std::string key) : key_(std::move(key)) {}
    ~HeldArchive() override {
        const std::lock_guard<std::mutex> guard(lockedMutex);
        lockedArchives.erase(key_);
    }

private:
    std::string key_;
};

}  // namespace

std::unique_ptr<ArchiveLock> StdFileSystem::lockArchive(const std::string& path,
                                                        const std::function<bool()>& stopWaiting,
                                                        LockRefusal* refusal) {
    const std::string key = canonicalPath(path);
    for (;;) {
        {
            const std::lock_guard<std::mutex> guard(lockedMutex);
            const auto held = lockedArchives.emplace(key, std::this_thread::get_id());
            if (held.second) return std::make_unique<HeldArchive>(key);
            if (held.first->second == std::this_thread::get_id()) {
                if (refusal) *refusal = LockRefusal::Busy;
                return nullptr;
            }
        }
        if (stopWaiting && stopWaiting()) {
            if (refusal) *refusal = LockRefusal::Stopped;
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string StdFileSystem::canonicalPath(const std::string& path) {
    std::error_code ec;
    const fsys::path resolved = fsys::weakly_canonical(fsys::absolute(path, ec), ec);
    return ec ? path : resolved.string();
}

std::unique_ptr<ReadFile> StdFileSystem::openRead(const std::string& path) {
    std::error_code ec;
    if (fsys::is_directory(path, ec)) return nullptr;
    const uintmax_t size = fsys::file_size(path, ec);
    if (ec) return nullptr;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return nullptr;
    return std::make_unique<StdReadFile>(f, uint64_t(size));
}

std::unique_ptr<WriteFile> StdFileSystem::create(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return nullptr;
    return std::make_unique<StdWriteFile>(f);
}

std::unique_ptr<WriteFile> StdFileSystem::createNew(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wbx");
    if (!f) return nullptr;
    return std::make_unique<StdWriteFile>(f);
}

bool StdFileSystem::stat(const std::string& path, FileStat& out) {
    std::error_code ec;
    const fsys::file_status st = fsys::status(path, ec);
    if (ec || !fsys::exists(st)) return false;
    out = FileStat{};
    out.isDirectory = fsys::is_directory(st);
    if (!out.isDirectory) out.size = uint64_t(fsys::file_size(path, ec));
    const auto written = fsys::last_write_time(path, ec);
    if (!ec) out.modified = dosFromUnix(toTimeT(written));
    if (out.isDirectory) out.attributes |= AttrDirectory;
    else out.attributes |= AttrArchive;
    if ((st.permissions() & fsys::perms::owner_write) == fsys::perms::none) out.attributes |= AttrReadOnly;
    return true;
}

bool StdFileSystem::createFolder(const std::string& path) {
    std::error_code ec;
    fsys::create_directory(path, ec);
    return fsys::is_directory(path, ec);
}

bool StdFileSystem::setModified(const std::string& path, DosDateTime when) {
    std::error_code ec;
    fsys::last_write_time(path, fromTimeT(unixFromDos(when)), ec);
    return !ec;
}

bool StdFileSystem::setAttributes(const std::string& path, uint32_t attributes) {
    std::error_code ec;
    const auto mode = (attributes & AttrReadOnly) ? fsys::perm_options::remove : fsys::perm_options::add;
    fsys::permissions(path, fsys::perms::owner_write, mode, ec);
    return !ec;
}

bool StdFileSystem::rename(const std::string& from, const std::string& to) {
    std::error_code ec;
    fsys::rename(from, to, ec);
    return !ec;
}

bool StdFileSystem::renameNew(const std::string& from, const std::string& to) {
#if defined(_WIN32)
    return FileSystem::renameNew(from, to);
#else
    // A hard link fails on any existing name; dropping the old link completes the rename.
    return ::link(from.c_str(), to.c_str()) == 0 && ::unlink(from.c_str()) == 0;
#endif
}

bool StdFileSystem::remove(const std::string& path) {
    std::error_code ec;
    return fsys::remove(path, ec) && !ec;
}

bool StdFileSystem::listFolder(const std::string& path, std::vector<FolderEntry>& out) {
    std::error_code ec;
    fsys::directory_iterator it(path.empty() ? std::string(".") : path, ec);
    if (ec) return false;
    for (; it != fsys::directory_iterator(); it.increment(ec)) {
        if (ec) return false;
        FolderEntry e;
        e.name = it->path().filename().string();
        e.isDirectory = it->is_directory(ec);
        e.isLink = it->is_symlink(ec);
        out.push_back(std::move(e));
    }
    return true;
}

char StdFileSystem::separator() const {
#if defined(_WIN32)
    return '\\';
#else
    return '/';
#endif
}

bool StdFileSystem::caseSensitive() const {
#if defined(_WIN32)
    return false;
#else
    return true;
#endif
}

}  // namespace zipcore
