#include "toolkit/zipcore/zip_item_list.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "toolkit/zipcore/archive_publish.h"
#include "toolkit/zipcore/entry_name.h"
#include "toolkit/zipcore/name_parts.h"
#include "toolkit/zipcore/file_spec.h"

namespace zipcore {

namespace {

constexpr int kMaxDepth = 64;          // also ends loops through linked folders
// Past 65535 items the archive gets a ZIP64 end record; this bounds memory for the list.
constexpr size_t kMaxItems = 1 << 20;

bool hasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }


class Gatherer {
public:
    Gatherer(FileSystem& fs, const ItemListRequest& r, RunEvents& e, std::vector<ItemToAdd>& items)
        : fs_(fs), request_(r), events_(e), items_(items) {
        const size_t sep = r.archive.find_last_of("/\\");
        archiveName_ = nameKey(r.archive.substr(sep == std::string::npos ? 0 : sep + 1), fs.caseSensitive());
    }

    ZipResult spec(const std::string& spec);
    // A listed file could not be looked at: the run must fail rather than leave it out.
    bool sawUnreadable() const { return unreadable_; }

private:
    // Adds one path; false only when a limit is reached.
    bool add(const std::string& path, const std::string& shownPath, const FileStat& st);
    bool walk(const std::string& folder, const std::string& shownFolder, const std::string& pattern, int depth);

    FileSystem& fs_;
    const ItemListRequest& request_;
    RunEvents& events_;
    std::vector<ItemToAdd>& items_;
    bool isArchive(const std::string& path);

    std::string archiveName_;  // the archive's own name, folded
    std::set<std::string> names_;
    bool full_ = false;
    bool unreadable_ = false;
};

// Only names that could be the archive's (its own, a short alias, a run's file beside it) are
// worth resolving to their canonical spelling.
bool Gatherer::isArchive(const std::string& path) {
    if (request_.archive.empty()) return false;
    const size_t sep = path.find_last_of("/\\");
    const std::string name = nameKey(path.substr(sep == std::string::npos ? 0 : sep + 1), fs_.caseSensitive());
    if (name.compare(0, archiveName_.size(), archiveName_) != 0 && name.find('~') == std::string::npos) return false;
    return belongsToArchive(fs_, request_.archive, fs_.canonicalPath(path));
}

bool Gatherer::add(const std::string& path, const std::string& shownPath, const FileStat& st) {
    if (!st.isDirectory && isArchive(path)) return true;
    std::string stored = storedNameFor(shownPath);
    if (stored.empty()) return true;
    if (st.isDirectory) stored.push_back('/');
    if (!names_.insert(nameKey(stored, fs_.caseSensitive())).second) return true;
    if (items_.size() >= kMaxItems) {
        full_ = true;
        return false;
    }
    items_.push_back(ItemToAdd{path, stored, st});
    return true;
}

bool Gatherer::walk(const std::string& folder, const std::string& shownFolder, const std::string& pattern,
                    int depth) {
    if (depth > kMaxDepth) return true;
    std::vector<FolderEntry> entries;
    if (!fs_.listFolder(folder.empty() ? "." : folder, entries)) return true;
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    for (const FolderEntry& entry : entries) {
        if (entry.name == "." || entry.name == "..") continue;
        const std::string path = folder.empty() ? entry.name : joinPath(fs_, folder, entry.name);
        const std::string shown = shownFolder.empty() ? entry.name : shownFolder + "/" + entry.name;
        if (wildcardMatch(pattern, entry.name, fs_.caseSensitive())) {
            FileStat st;
            // Listed but gone (or unreadable) by now: never dropped without a word.
            if (!fs_.stat(path, st)) {
                events_.message(MessageCode::SourceRead, path + ": cannot be read");
                unreadable_ = true;
            } else if (!add(path, shown, st)) {
                return false;
            }
        }
        // A link may lead back to a folder above: walking it could go on without end.
        if (entry.isDirectory && !entry.isLink && request_.recurse && !walk(path, shown, pattern, depth + 1))
            return false;
    }
    return true;
}

ZipResult Gatherer::spec(const std::string& spec) {
    std::string shown = withForwardSlashes(spec);
    while (shown.size() > 1 && shown.back() == '/') shown.pop_back();
    const std::string path = (isAbsolutePath(spec) || request_.baseFolder.empty())
                                 ? spec : joinPath(fs_, request_.baseFolder, spec);
    const size_t before = items_.size();

    const size_t slash = shown.find_last_of('/');
    const std::string lastPart = slash == std::string::npos ? shown : shown.substr(slash + 1);
    if (hasWildcard(lastPart)) {
        const std::string shownFolder = slash == std::string::npos ? std::string() : shown.substr(0, slash + (slash == 0));
        std::string folder = request_.baseFolder;
        if (isAbsolutePath(spec)) folder = shownFolder;
        else if (!shownFolder.empty()) folder = folder.empty() ? shownFolder : joinPath(fs_, folder, shownFolder);
        if (!walk(folder, shownFolder, lastPart, 0)) return ZipResult::TooLarge;
        if (items_.size() == before)
            events_.message(MessageCode::NothingMatched, "Nothing matched " + spec);
        return ZipResult::Ok;
    }
    FileStat st;
    if (!fs_.stat(path, st)) {
        events_.message(MessageCode::SourceRead, spec + ": not found");
        return ZipResult::ReadFailed;
    }
    if (!add(path, shown, st)) return ZipResult::TooLarge;
    if (st.isDirectory && request_.recurse && !walk(path, shown, "*", 1)) return ZipResult::TooLarge;
    return ZipResult::Ok;
}

}  // namespace

bool isAbsolutePath(const std::string& path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

std::string joinPath(const FileSystem& fs, const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    std::string out = folder;
    if (!endsWithSeparator(out)) out.push_back(fs.separator());
    return out + name;
}

ZipResult gatherItems(FileSystem& fs, const ItemListRequest& request, RunEvents& events,
                      std::vector<ItemToAdd>& items) {
    const std::vector<std::string> specs = splitFileSpecs(request.itemList);
    if (specs.empty()) return ZipResult::NothingMatched;
    Gatherer gatherer(fs, request, events, items);
    for (const std::string& spec : specs) {
        const ZipResult r = gatherer.spec(spec);
        if (r != ZipResult::Ok) return r;
    }
    if (gatherer.sawUnreadable()) return ZipResult::ReadFailed;
    return items.empty() ? ZipResult::NothingMatched : ZipResult::Ok;
}

}  // namespace zipcore
