#include "skerrit/removal/install_log.h"

#include "common/lead_bytes.h"

#include <algorithm>
#include <numeric>

#include "skerrit/removal/removal_paths.h"

const char kShortcutItemPrefix[] = "[Shortcut] ";

namespace {

constexpr std::string_view kExtractedMarker = " (Extracted)";
constexpr std::string_view kGroupMarker = " (Custom Group Name)";
constexpr std::string_view kShortcutMarker = " (Group Setup) (Succeeded)";
constexpr std::size_t kRoomPerItem = 270;

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsShortcutItem(std::string_view item) {
    return item.substr(0, sizeof kShortcutItemPrefix - 1) == kShortcutItemPrefix;
}

std::size_t Depth(std::string_view item) {
    return SeparatorCount(item);
}

}  // namespace

bool FindLogValue(std::string_view line, LogLineKind kind, std::string_view& value) {
    // A NUL would end the value for every system call while the marker is
    // still found after it: the line would act on a path it does not name.
    if (line.find('\0') != std::string_view::npos) return false;
    std::string_view marker;
    switch (kind) {
        case LogLineKind::ExtractedFile: marker = kExtractedMarker; break;
        case LogLineKind::CustomGroup: marker = kGroupMarker; break;
        case LogLineKind::Shortcut: marker = kShortcutMarker; break;
        case LogLineKind::Other: return false;
    }
    const std::size_t at = line.find(marker);
    if (at == std::string_view::npos) return false;
    value = line.substr(0, at);
    return true;
}

LogLine ClassifyLogLine(std::string_view line) {
    LogLine result;
    for (LogLineKind kind :
         {LogLineKind::ExtractedFile, LogLineKind::CustomGroup, LogLineKind::Shortcut}) {
        if (FindLogValue(line, kind, result.value)) {
            result.kind = kind;
            return result;
        }
    }
    return result;
}

void LogLineSplitter::Feed(std::string_view chunk) {
    for (char c : chunk) {
        if (c == '\r') continue;
        if (c == '\n') {
            on_line_(line_);
            line_.clear();
        } else if (line_.size() < kMaxLogLineLength) {
            line_ += c;
        }
    }
}

bool SplitShortcutFields(std::string_view line, std::string& folder, std::string& name) {
    std::size_t bounds[4];
    std::size_t from = 0;
    for (std::size_t& bound : bounds) {
        bound = line.find(';', from);
        if (bound == std::string_view::npos) return false;
        from = bound + 1;
    }
    folder.assign(line.substr(0, bounds[0]));
    name.assign(line.substr(bounds[2] + 1, bounds[3] - bounds[2] - 1));
    return true;
}

std::string MakeShortcutItem(std::string_view folder, std::string_view name) {
    std::string item = kShortcutItemPrefix;
    item += folder;
    if (!EndsWithSeparator(folder)) item += '\\';
    item += name;
    return item;
}

std::string HelpIndexCompanion(std::string_view path) {
    if (path.size() < 3) return std::string();
    const std::string_view tail = path.substr(path.size() - 3);
    if (FoldAscii(tail[0]) != 'h' || FoldAscii(tail[1]) != 'l' || FoldAscii(tail[2]) != 'p')
        return std::string();
    std::string companion(path.substr(0, path.size() - 3));
    companion += "gid";
    return companion;
}

int CompareAsciiNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const unsigned char x = static_cast<unsigned char>(FoldAscii(*a));
        const unsigned char y = static_cast<unsigned char>(FoldAscii(*b));
        if (x != y || x == 0) return x < y ? -1 : (x > y ? 1 : 0);
    }
}

std::string AsciiFoldedKey(const std::string& item) {
    std::string key = item;
    for (char& c : key) c = FoldAscii(c);
    return key;
}

bool ReviewItems::Add(std::string item) {
    if (key_ == nullptr) return by_compare_.insert(std::move(item)).second;
    std::string key = key_(item);
    const auto found = by_key_.find(key);
    if (found != by_key_.end()) {
        if (compare_(found->second.c_str(), item.c_str()) != 0) consistent_ = false;
        return false;
    }
    by_key_.emplace(std::move(key), std::move(item));
    return true;
}

std::vector<std::string> ReviewItems::InOrder() const {
    if (key_ == nullptr) return std::vector<std::string>(by_compare_.begin(), by_compare_.end());
    std::vector<std::string> items;
    items.reserve(by_key_.size());
    for (const auto& entry : by_key_) items.push_back(entry.second);
    return items;
}

LogReview ReviewInstallLog(const LogSources& sources) {
    ReviewItems items(sources.compare, sources.key);
    LogReview review;
    std::set<std::string> files_named;

    // The first pass knows files and the group name, the second only
    // shortcuts, so a line carrying two markers counts in both passes.
    LogLineSplitter first_pass([&](std::string_view text) {
        const LogLine line = ClassifyLogLine(text);
        if (line.kind == LogLineKind::CustomGroup) {
            review.custom_group.assign(line.value);
        } else if (line.kind == LogLineKind::ExtractedFile) {
            std::string path(line.value);
            if (!IsFullyQualifiedPath(path) || !sources.file_exists(path)) return;
            if (sources.file_identity && !files_named.insert(sources.file_identity(path)).second) return;
            std::string companion = HelpIndexCompanion(path);
            if (!items.Add(std::move(path))) return;
            if (!companion.empty() && sources.file_exists(companion))
                items.Add(std::move(companion));
        }
    });
    sources.read_log(first_pass);

    MacroFolders folders = sources.folders;
    folders.custom_group = review.custom_group;
    const MacroTable table = SkerritMacroTable(folders);
    std::string folder;
    std::string name;
    LogLineSplitter second_pass([&](std::string_view text) {
        std::string_view value;
        if (!FindLogValue(text, LogLineKind::Shortcut, value)) return;
        const std::string expanded = ExpandPathMacros(value, table);
        // Longer than the reader's buffer: the cut text would name another file.
        if (expanded.size() > kMaxExpandedLineLength) return;
        if (!SplitShortcutFields(expanded, folder, name)) return;
        if (!IsPlainShortcutPart(folder) || name.empty() || !IsPlainShortcutPart(name)) return;
        items.Add(MakeShortcutItem(folder, name));
    });
    sources.read_log(second_pass);

    review.items = items.InOrder();
    review.consistent = items.consistent();
    return review;
}

RemovalLists BuildRemovalLists(const std::vector<std::string>& items) {
    std::size_t file_count = 0;
    for (const std::string& item : items)
        if (!IsShortcutItem(item)) ++file_count;
    RemovalLists lists;
    lists.files.present = file_count > 0;
    lists.shortcuts.present = file_count < items.size();
    lists.files.text.reserve(file_count * kRoomPerItem);
    lists.shortcuts.text.reserve((items.size() - file_count) * kRoomPerItem);

    // Last item first, then a stable sort by depth: deeper items first, and
    // inside one depth the reversed list order.
    std::vector<std::size_t> order(items.size());
    std::iota(order.rbegin(), order.rend(), std::size_t{0});
    std::vector<std::size_t> depth(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) depth[i] = Depth(items[i]);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return depth[a] > depth[b]; });

    for (std::size_t i : order) {
        const std::string& item = items[i];
        if (IsShortcutItem(item)) {
            lists.shortcuts.text.append(item, sizeof kShortcutItemPrefix - 1, std::string::npos);
            lists.shortcuts.text += ".lnk\r\n";
        } else {
            lists.files.text += item;
            lists.files.text += "\r\n";
        }
    }
    return lists;
}

bool NextListEntry(const RemovalList& list, std::size_t& cursor, ListEntry& entry) {
    if (!list.present || cursor >= list.text.size()) return false;
    const std::size_t end = list.text.find('\r', cursor);
    if (end == std::string::npos) return false;
    const std::size_t length = end - cursor;
    entry.cut = length > kMaxListEntryLength;
    entry.text.assign(list.text, cursor, entry.cut ? kMaxListEntryLength : length);
    cursor = std::min(end + 2, list.text.size());
    return true;
}
