#include "toolkit/zipcore/archive_publish.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "toolkit/zipcore/joined_volumes.h"
#include "toolkit/zipcore/name_parts.h"
#include "toolkit/zipcore/split_writer.h"
#include "toolkit/zipcore/zip_reader.h"

namespace zipcore {

namespace {

const char kMark[] = ".~vx";
const char kAsideMark[] = "old";
const char kSetMark[] = "set";

size_t folderEnd(const std::string& path) {
    const size_t sep = path.find_last_of("/\\");
    return sep == std::string::npos ? 0 : sep + 1;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool allDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Moves `path` to the first free name asideStem + N. Names that cannot be taken (a file still
// waiting for its readers to close it answers as taken) are passed over.
bool moveAside(FileSystem& fs, const std::string& path, const std::string& asideStem, std::string& aside) {
    for (unsigned n = 0; n < 64; ++n) {
        aside = asideStem + std::to_string(n);
        if (fs.renameNew(path, aside)) return true;
    }
    return false;
}

int readVolumeCount(FileSystem& fs, const std::string& marker) {
    std::unique_ptr<ReadFile> file = fs.openRead(marker);
    char text[16] = {};
    size_t got = 0;
    if (!file || !file->read(text, sizeof text - 1, got)) return 0;
    return std::atoi(text);
}

}  // namespace

std::unique_ptr<WriteFile> createTemporary(FileSystem& fs, const std::string& archivePath, std::string& tempPath) {
    for (unsigned n = 0; n < 1000; ++n) {
        tempPath = archivePath + kMark + std::to_string(n);
        if (std::unique_ptr<WriteFile> file = fs.createNew(tempPath)) return file;
    }
    tempPath.clear();
    return nullptr;
}

bool belongsToArchive(const FileSystem& fs, const std::string& canonicalArchive, const std::string& canonicalPath) {
    const std::string archive = nameKey(canonicalArchive, fs.caseSensitive());
    const std::string path = nameKey(canonicalPath, fs.caseSensitive());
    return path == archive || startsWith(path, archive + kMark);
}

bool publishFile(FileSystem& fs, const std::string& from, const std::string& to, const std::string& asideStem) {
    constexpr int kAttempts = 200;
    constexpr auto kPause = std::chrono::milliseconds(50);
    FileStat st;
    for (int attempt = 0;; ++attempt) {
        if (fs.stat(to, st) && (st.isDirectory || (st.attributes & AttrReadOnly))) return false;
        if (fs.replace(from, to)) return true;
        if (!fs.stat(from, st) || !fs.stat(to, st)) return false;
        std::string aside;
        if (moveAside(fs, to, asideStem, aside)) {
            if (fs.renameNew(from, to)) {
                fs.remove(aside);  // gone once its last reader closes it
                return true;
            }
            // Put back; should even that fail, the next run on the archive restores it.
            fs.renameNew(aside, to);
        }
        if (attempt == kAttempts) return false;
        std::this_thread::sleep_for(kPause);
    }
}

bool publishSplit(FileSystem& fs, const std::string& prefix, int count, const std::string& archivePath) {
    const std::string marker = archivePath + kMark + kSetMark;
    {
        std::unique_ptr<WriteFile> file = fs.createNew(marker);
        const std::string text = std::to_string(count);
        if (!file || !file->write(text.data(), text.size()) || !file->close()) {
            fs.remove(marker);
            return false;
        }
    }
    int placed = 0;
    bool ok = true;
    for (int n = 1; n < count && ok; ++n) {
        ok = publishFile(fs, splitTempName(prefix, n), volumeName(archivePath, n, count),
                         archivePath + kMark + "vol");
        if (ok) placed = n;
    }
    if (ok) ok = publishFile(fs, splitTempName(prefix, count), archivePath, archivePath + kMark + kAsideMark);
    if (!ok)
        for (int n = 1; n <= placed; ++n) fs.remove(volumeName(archivePath, n, count));
    fs.remove(marker);
    return ok;
}

void recoverInterruptedUpdate(FileSystem& fs, const std::string& archivePath) {
    const size_t nameAt = folderEnd(archivePath);
    const std::string folder = nameAt == 0 ? std::string(".") : archivePath.substr(0, nameAt);
    std::vector<FolderEntry> entries;
    if (!fs.listFolder(folder, entries)) return;
    const std::string stem = nameKey(archivePath.substr(nameAt) + kMark, fs.caseSensitive());
    std::vector<std::pair<unsigned long, std::string>> asides;  // by number, newest last
    std::vector<std::string> leftovers;
    std::string marker;
    for (const FolderEntry& e : entries) {
        if (e.isDirectory || !startsWith(nameKey(e.name, fs.caseSensitive()), stem)) continue;
        const std::string path = archivePath.substr(0, nameAt) + e.name;
        const std::string kind = nameKey(e.name.substr(stem.size()), false);
        if (startsWith(kind, kAsideMark) && allDigits(kind.substr(3)))
            asides.emplace_back(std::strtoul(kind.c_str() + 3, nullptr, 10), path);
        else if (kind == kSetMark)
            marker = path;
        else
            leftovers.push_back(path);
    }
    FileStat st;
    // The archive's name is empty only between moving the old archive aside and putting the
    // new one in its place: the old one comes back.
    std::sort(asides.begin(), asides.end());
    if (!fs.stat(archivePath, st))
        for (auto it = asides.rbegin(); it != asides.rend(); ++it)
            if (fs.renameNew(it->second, archivePath)) break;
    for (const auto& aside : asides) fs.remove(aside.second);
    // Volumes of a split publish belong to the archive only when its last volume took the
    // archive's name (an update never replaces a split archive).
    if (!marker.empty()) {
        const int count = readVolumeCount(fs, marker);
        ZipArchive archive;
        if (count > 1 && uint32_t(count) <= kMaxSplitVolumes && archive.open(fs, archivePath) != ZipResult::Zip64Unsupported)
            for (int n = 1; n < count; ++n) fs.remove(volumeName(archivePath, n, count));
        fs.remove(marker);
    }
    for (const std::string& path : leftovers) fs.remove(path);
}

}  // namespace zipcore
