#include "toolkit/shared/win32_file_system_win.h"

#include <windows.h>

#include <vector>

#include "toolkit/shared/wide_text_win.h"

namespace vxfs {

namespace {

class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    bool Close()
    {
        bool ok = true;
        if (Valid()) ok = CloseHandle(h_) != FALSE;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() { if (h_ != INVALID_HANDLE_VALUE) FindClose(h_); }
    HANDLE Get() const { return h_; }

private:
    HANDLE h_;
};

// Room CreateDirectory needs beyond a path (an 8.3 name) below the plain limit.
constexpr size_t kPlainPathLimit = MAX_PATH - 12;
// The longest path the wide API takes in its "\\?\" form.
constexpr size_t kLongPathLimit = 32767;

// The engine's UTF-8 path for the wide API. A path too long for the plain form goes through
// "\\?\" with its full path: that form skips the system's normalisation, so the full path
// is made first (item names reaching here were checked part by part and have no trailing
// dots or blanks). Null text when the path cannot be named at all.
vxcom::WideText WidePath(const std::string& utf8)
{
    vxcom::WideText path = vxcom::WideFromUtf8(utf8);
    const size_t length = path.size() - 1;
    if (length >= 4 && wcsncmp(path.data(), L"\\\\?\\", 4) == 0) return path;
    // A relative path is as long as the full path it stands for.
    const DWORD needed = GetFullPathNameW(path.data(), 0, nullptr, nullptr);
    if (length < kPlainPathLimit && needed > 0 && needed <= kPlainPathLimit) return path;
    if (needed == 0 || needed > kLongPathLimit) return vxcom::WideText(1, L'\0');
    vxcom::WideText full(needed, L'\0');
    const DWORD got = GetFullPathNameW(path.data(), needed, &full[0], nullptr);
    if (got == 0 || got >= needed) return vxcom::WideText(1, L'\0');
    full.resize(got);
    const bool unc = got >= 2 && full[0] == L'\\' && full[1] == L'\\';
    const wchar_t* prefix = unc ? L"\\\\?\\UNC" : L"\\\\?\\";
    vxcom::WideText out(prefix, prefix + wcslen(prefix));
    out.insert(out.end(), full.begin() + (unc ? 1 : 0), full.end());
    out.push_back(L'\0');
    return out;
}

bool Seek(HANDLE h, uint64_t position)
{
    LONG high = static_cast<LONG>(position >> 32);
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(h, static_cast<LONG>(position & 0xFFFFFFFFu), &high, FILE_BEGIN);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

class Win32ReadFile final : public zipcore::ReadFile {
public:
    explicit Win32ReadFile(HANDLE h) : file_(h) {}
    bool read(void* buffer, size_t n, size_t& got) override
    {
        got = 0;
        while (n > 0) {
            DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
            DWORD read = 0;
            if (!::ReadFile(file_.Get(), static_cast<char*>(buffer) + got, want, &read, nullptr))
                return false;
            if (read == 0) break;
            got += read;
            n -= read;
        }
        return true;
    }
    bool seek(uint64_t position) override { return Seek(file_.Get(), position); }
    uint64_t size() const override
    {
        DWORD high = 0;
        SetLastError(NO_ERROR);
        DWORD low = GetFileSize(file_.Get(), &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return 0;
        return (static_cast<uint64_t>(high) << 32) | low;
    }

private:
    Handle file_;
};

// Writes through a 256 KiB buffer: the engine hands over small pieces.
class Win32WriteFile final : public zipcore::WriteFile {
public:
    explicit Win32WriteFile(HANDLE h) : file_(h) { buffer_.reserve(kBuffer); }
    ~Win32WriteFile() override { close(); }
    bool write(const void* data, size_t n) override
    {
        if (failed_) return false;
        const char* p = static_cast<const char*>(data);
        if (buffer_.size() + n > kBuffer && !Flush()) return false;
        if (n >= kBuffer) {
            if (!WriteAll(p, n)) return false;
        } else {
            buffer_.insert(buffer_.end(), p, p + n);
        }
        position_ += n;
        return true;
    }
    bool seek(uint64_t position) override
    {
        if (!Flush() || !Seek(file_.Get(), position)) return failed_ = true, false;
        position_ = position;
        return true;
    }
    uint64_t position() const override { return position_; }
    bool truncate() override
    {
        if (!Flush() || !Seek(file_.Get(), position_) || !::SetEndOfFile(file_.Get())) return failed_ = true, false;
        return true;
    }
    bool close() override
    {
        if (!file_.Valid()) return !failed_;
        bool ok = Flush();
        ok = file_.Close() && ok;
        return ok && !failed_;
    }

private:
    static constexpr size_t kBuffer = 256 * 1024;

    bool WriteAll(const char* p, size_t n)
    {
        while (n > 0) {
            DWORD chunk = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
            DWORD written = 0;
            if (!::WriteFile(file_.Get(), p, chunk, &written, nullptr) || written == 0) {
                failed_ = true;
                return false;
            }
            p += written;
            n -= written;
        }
        return true;
    }
    bool Flush()
    {
        if (buffer_.empty()) return !failed_;
        bool ok = WriteAll(buffer_.data(), buffer_.size());
        buffer_.clear();
        return ok;
    }

    Handle file_;
    std::vector<char> buffer_;
    uint64_t position_ = 0;
    bool failed_ = false;
};

bool LocalDosToFileTime(zipcore::DosDateTime when, FILETIME& utc)
{
    FILETIME local;
    return DosDateTimeToFileTime(when.date, when.time, &local) &&
           LocalFileTimeToFileTime(&local, &utc);
}

} // namespace

std::unique_ptr<zipcore::ReadFile> Win32FileSystem::openRead(const std::string& path)
{
    // Sharing delete lets a run that updates this archive replace it while it is read: the
    // reader keeps the old one whole.
    HANDLE h = CreateFileW(WidePath(path).data(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::unique_ptr<zipcore::ReadFile>(new Win32ReadFile(h));
}

std::unique_ptr<zipcore::WriteFile> Win32FileSystem::create(const std::string& path)
{
    // CREATE_ALWAYS refuses an existing hidden or system file; open and truncate instead.
    HANDLE h = CreateFileW(WidePath(path).data(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    if (!SetEndOfFile(h)) {
        CloseHandle(h);
        return nullptr;
    }
    return std::unique_ptr<zipcore::WriteFile>(new Win32WriteFile(h));
}

std::unique_ptr<zipcore::WriteFile> Win32FileSystem::createNew(const std::string& path)
{
    HANDLE h = CreateFileW(WidePath(path).data(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::unique_ptr<zipcore::WriteFile>(new Win32WriteFile(h));
}

bool Win32FileSystem::stat(const std::string& path, zipcore::FileStat& out)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WidePath(path).data(), GetFileExInfoStandard, &data)) return false;
    out.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    out.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    out.attributes = data.dwFileAttributes & 0x37;
    FILETIME local;
    WORD date = 0, time = 0;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) &&
        FileTimeToDosDateTime(&local, &date, &time)) {
        out.modified.date = date;
        out.modified.time = time;
    }
    return true;
}

bool Win32FileSystem::createFolder(const std::string& path)
{
    const vxcom::WideText wide = WidePath(path);
    if (CreateDirectoryW(wide.data(), nullptr)) return true;
    DWORD attributes = GetFileAttributesW(wide.data());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::setModified(const std::string& path, zipcore::DosDateTime when)
{
    FILETIME utc;
    if (!LocalDosToFileTime(when, utc)) return false;
    Handle h(CreateFileW(WidePath(path).data(), FILE_WRITE_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return h.Valid() && SetFileTime(h.Get(), nullptr, nullptr, &utc);
}

bool Win32FileSystem::setAttributes(const std::string& path, uint32_t attributes)
{
    const vxcom::WideText wide = WidePath(path);
    DWORD keep = GetFileAttributesW(wide.data());
    if (keep == INVALID_FILE_ATTRIBUTES) return false;
    DWORD bits = (keep & FILE_ATTRIBUTE_DIRECTORY) | (attributes & 0x27);
    if (bits == 0) bits = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesW(wide.data(), bits) != FALSE;
}

bool Win32FileSystem::rename(const std::string& from, const std::string& to)
{
    return MoveFileExW(WidePath(from).data(), WidePath(to).data(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool Win32FileSystem::renameNew(const std::string& from, const std::string& to)
{
    return MoveFileExW(WidePath(from).data(), WidePath(to).data(), 0) != FALSE;
}

bool Win32FileSystem::replace(const std::string& from, const std::string& to)
{
    const vxcom::WideText source = WidePath(from), target = WidePath(to);
    // The data reaches the disk before the name does: after a crash the name holds the old
    // archive or the new one, whole.
    {
        Handle file(CreateFileW(source.data(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid() || !FlushFileBuffers(file.Get())) return false;
    }
    return MoveFileExW(source.data(), target.data(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

namespace {

// The plain form of a "\\?\" path, so that every spelling of a file compares alike.
std::string WithoutLongPrefix(const std::string& path)
{
    if (path.compare(0, 8, "\\\\?\\UNC\\") == 0) return "\\" + path.substr(7);
    if (path.compare(0, 4, "\\\\?\\") == 0) return path.substr(4);
    return path;
}

} // namespace

std::string Win32FileSystem::canonicalPath(const std::string& path)
{
    vxcom::WideText full = WidePath(path);
    if (full.size() <= 1) return path;
    const DWORD needed = GetFullPathNameW(full.data(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    vxcom::WideText buffer(needed, L'\0');
    DWORD got = GetFullPathNameW(full.data(), needed, &buffer[0], nullptr);
    if (got == 0 || got >= needed) return path;
    full.assign(buffer.begin(), buffer.begin() + got);
    full.push_back(L'\0');
    // The long names of the folder and, when it exists, of the file itself.
    auto longForm = [](const vxcom::WideText& wide, vxcom::WideText& out) {
        const DWORD size = GetLongPathNameW(wide.data(), nullptr, 0);
        if (size == 0) return false;
        out.assign(size, L'\0');
        const DWORD length = GetLongPathNameW(wide.data(), &out[0], size);
        if (length == 0 || length >= size) return false;
        out.resize(length);
        return true;
    };
    vxcom::WideText resolved;
    if (longForm(full, resolved)) return WithoutLongPrefix(vxcom::Utf8FromWide(resolved.data(), resolved.size()));
    const std::string text = WithoutLongPrefix(vxcom::Utf8FromWide(full.data(), full.size() - 1));
    const size_t sep = text.find_last_of('\\');
    if (sep == std::string::npos) return text;
    vxcom::WideText folder = WidePath(text.substr(0, sep + 1));
    if (!longForm(folder, resolved)) return text;
    std::string joined = vxcom::Utf8FromWide(resolved.data(), resolved.size());
    if (joined.empty() || joined.back() != '\\') joined += '\\';
    return joined + text.substr(sep + 1);
}

bool Win32FileSystem::remove(const std::string& path)
{
    const vxcom::WideText wide = WidePath(path);
    DWORD attributes = GetFileAttributesW(wide.data());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryW(wide.data()) != FALSE;
    // A finished temporary file may already carry the item's read-only bit.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(wide.data(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return DeleteFileW(wide.data()) != FALSE;
}

bool Win32FileSystem::listFolder(const std::string& path, std::vector<zipcore::FolderEntry>& out)
{
    out.clear();
    std::string pattern = path.empty() ? std::string(".") : path;
    if (pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(WidePath(pattern).data(), &data));
    if (find.Get() == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::string name = vxcom::Utf8FromWide(data.cFileName, wcslen(data.cFileName));
        if (name == "." || name == "..") continue;
        out.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileW(find.Get(), &data));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

size_t Win32FileSystem::maxPathLength() const { return kLongPathLimit - 1; }

} // namespace vxfs
