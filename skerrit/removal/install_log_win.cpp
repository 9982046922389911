#include "skerrit/removal/install_log_win.h"

#include "common/scoped_handles_win.h"
#include "skerrit/removal/path_names_win.h"

namespace {

// The review list box orders and matches items with the system's
// case-insensitive comparison; the duplicate test uses the same one.
int CompareLikeListBox(const char* a, const char* b) { return lstrcmpiA(a, b); }

// The same order as a byte string, computed once per item.
std::string ListBoxSortKey(const std::string& item) {
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int size = LCMapStringA(LOCALE_USER_DEFAULT, flags, item.c_str(), -1, nullptr, 0);
    if (size <= 0) return item;
    std::string key(static_cast<std::size_t>(size), '\0');
    LCMapStringA(LOCALE_USER_DEFAULT, flags, item.c_str(), -1, &key[0], size);
    return key;
}

// Items strictly ascending by the list box's own comparison.
bool InListBoxOrder(const std::vector<std::string>& items) {
    for (std::size_t i = 1; i < items.size(); ++i)
        if (CompareLikeListBox(items[i - 1].c_str(), items[i].c_str()) >= 0) return false;
    return true;
}

void FeedWholeFile(HANDLE file, LogLineSplitter& splitter) {
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return;
    static constexpr DWORD kChunk = 64 * 1024;
    std::string chunk(kChunk, '\0');
    DWORD read = 0;
    while (ReadFile(file, &chunk[0], kChunk, &read, nullptr) && read > 0)
        splitter.Feed(std::string_view(chunk.data(), read));
}

// `items` are in the list box's own order already, so each one is put at the
// end: the list box's sorted insertion would compare again per item.
void FillListBox(HWND list, const std::vector<std::string>& items) {
    std::size_t bytes = 0;
    for (const std::string& item : items) bytes += item.size() + 1;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, items.size(), bytes);
    for (const std::string& item : items)
        SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

std::vector<std::string> ListBoxItems(HWND list) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR) return items;
    items.reserve(static_cast<std::size_t>(count));
    std::string text;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, i, 0);
        if (length == LB_ERR) continue;
        text.assign(static_cast<std::size_t>(length) + 1, '\0');
        const LRESULT got = SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        if (got == LB_ERR) continue;
        text.resize(static_cast<std::size_t>(got));
        items.push_back(text);
    }
    return items;
}

bool ReadInstallLog(HWND list, const char* log_path, const MacroFolders& folders,
                    InstallLogContent& content) {
    if (list != nullptr) SendMessageA(list, LB_RESETCONTENT, 0, 0);
    content = InstallLogContent();
    if (log_path == nullptr || log_path[0] == '\0') return false;
    ScopedHandle log(CreateFileA(log_path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log.ok()) return false;

    LogSources sources;
    sources.read_log = [&](LogLineSplitter& splitter) { FeedWholeFile(log.get(), splitter); };
    // A folder named as an extracted file is no file to delete.
    sources.file_exists = [](const std::string& path) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    };
    PathNames names;
    sources.file_identity = [&names](const std::string& path) { return names.FileKey(path); };
    sources.folders = folders;
    sources.compare = CompareLikeListBox;
    sources.key = ListBoxSortKey;
    LogReview review = ReviewInstallLog(sources);
    if (!review.consistent || !InListBoxOrder(review.items)) {
        // The keys disagree with the comparison somewhere: order by the
        // comparison itself.
        sources.key = nullptr;
        review = ReviewInstallLog(sources);
    }
    log.Close();

    content.custom_group = std::move(review.custom_group);
    if (list == nullptr) {
        content.lists = BuildRemovalLists(review.items);
        return true;
    }
    FillListBox(list, review.items);
    content.lists = BuildRemovalLists(ListBoxItems(list));
    return true;
}
