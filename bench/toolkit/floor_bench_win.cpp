// The platform's floor for the controls' file work: bare Win32 loops over exactly the files of
// a corpus, with none of the engine's work. Usage: toolkit_floor CORPUS DEST
// The read loop opens, reads and closes every file (what compression must at least do). The
// create loop writes every file into DEST the way a safe extraction must: its folders, a new
// temporary file beside the target, the bytes, the time stamp, a rename to its name.
// Prints "read_seconds=... create_seconds=... files=... bytes=..." for run.sh.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct CorpusFile {
    std::wstring relative;   // below the corpus root, '\\'-separated
    FILETIME modified;
    std::vector<char> bytes;
};

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { if (Valid()) CloseHandle(h_); }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }

private:
    HANDLE h_;
};

double Now()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

// Folders first-seen order, files in the order the system lists them.
void ListTree(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>& folders,
              std::vector<CorpusFile>& files)
{
    WIN32_FIND_DATAW data;
    const std::wstring base = relative.empty() ? root : root + L"\\" + relative;
    HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> below;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = relative.empty() ? name : relative + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            below.push_back(path);
        } else {
            files.push_back({path, data.ftLastWriteTime, {}});
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const std::wstring& folder : below) {
        folders.push_back(folder);
        ListTree(root, folder, folders, files);
    }
}

bool ReadAll(const std::wstring& path, std::vector<char>& bytes)
{
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) return false;
    const DWORD size = GetFileSize(file.Get(), nullptr);
    bytes.resize(size);
    DWORD got = 0;
    return size == 0 || (ReadFile(file.Get(), bytes.data(), size, &got, nullptr) && got == size);
}

bool CreateSafely(const std::wstring& target, const CorpusFile& f)
{
    const std::wstring temp = target + L".~vx0";
    {
        Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
        if (!file.Valid()) return false;
        DWORD written = 0;
        if (!f.bytes.empty() &&
            (!WriteFile(file.Get(), f.bytes.data(), DWORD(f.bytes.size()), &written, nullptr) ||
             written != f.bytes.size()))
            return false;
        if (!SetFileTime(file.Get(), nullptr, nullptr, &f.modified)) return false;
    }
    return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3) {
        std::fprintf(stderr, "usage: toolkit_floor CORPUS DEST\n");
        return 2;
    }
    const std::wstring corpus = argv[1], dest = argv[2];
    std::vector<std::wstring> folders;
    std::vector<CorpusFile> files;
    ListTree(corpus, L"", folders, files);

    const double t0 = Now();
    unsigned long long bytes = 0;
    for (CorpusFile& f : files) {
        if (!ReadAll(corpus + L"\\" + f.relative, f.bytes)) {
            std::fprintf(stderr, "cannot read file %u of the corpus\n", unsigned(&f - files.data()));
            return 1;
        }
        bytes += f.bytes.size();
    }
    const double t1 = Now();
    CreateDirectoryW(dest.c_str(), nullptr);
    for (const std::wstring& folder : folders) CreateDirectoryW((dest + L"\\" + folder).c_str(), nullptr);
    for (const CorpusFile& f : files) {
        if (!CreateSafely(dest + L"\\" + f.relative, f)) {
            std::fprintf(stderr, "cannot create file %u of the corpus\n", unsigned(&f - files.data()));
            return 1;
        }
    }
    const double t2 = Now();
    std::printf("read_seconds=%.3f create_seconds=%.3f files=%u bytes=%llu\n", t1 - t0, t2 - t1,
                unsigned(files.size()), bytes);
    return 0;
}
