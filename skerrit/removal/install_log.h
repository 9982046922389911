#pragma once
// Installation log: the lines the installer writes and what the uninstaller
// makes of them (review items, removal lists). Portable.

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/path_macros.h"

// Longest log line kept; the rest of a longer line is dropped, never read as
// a line of its own (it could end in a marker and name a cut path).
constexpr std::size_t kMaxLogLineLength = 511;
// Longest custom group name kept in RunSettings.
constexpr std::size_t kMaxGroupNameLength = 259;
// Longest entry handed out by NextListEntry (MAX_PATH - 1).
constexpr std::size_t kMaxListEntryLength = 259;
// The expanded shortcut line must fit the reader's 512-character buffer.
constexpr std::size_t kMaxExpandedLineLength = 511;

extern const char kShortcutItemPrefix[];  // "[Shortcut] "

enum class LogLineKind { Other, ExtractedFile, CustomGroup, Shortcut };

struct LogLine {
    LogLineKind kind = LogLineKind::Other;
    std::string_view value;  // the text before the marker
};

// The value before `kind`'s marker (exact case, first occurrence). A line
// holding a NUL has no value of any kind.
bool FindLogValue(std::string_view line, LogLineKind kind, std::string_view& value);
// The first of extracted file, custom group, shortcut whose marker occurs.
LogLine ClassifyLogLine(std::string_view line);

// Splits log text fed in chunks into lines: a line feed ends a line, carriage
// returns are dropped wherever they stand, a last line without a line feed is
// not read, and lines are cut at kMaxLogLineLength.
class LogLineSplitter {
public:
    using LineHandler = std::function<void(std::string_view)>;
    explicit LogLineSplitter(LineHandler on_line) : on_line_(std::move(on_line)) {}
    void Feed(std::string_view chunk);

private:
    LineHandler on_line_;
    std::string line_;
};

// Field 1 (folder) and field 4 (name) of an expanded shortcut line; false
// when the line has fewer than four semicolons.
bool SplitShortcutFields(std::string_view line, std::string& folder, std::string& name);

// "[Shortcut] ", the folder, a backslash unless it ends with one, the name.
std::string MakeShortcutItem(std::string_view folder, std::string_view name);

// The index file the help engine builds beside a help file: the path with
// its last three characters "hlp" (any case) replaced by "gid"; empty when
// the path does not end that way.
std::string HelpIndexCompanion(std::string_view path);

// Case-insensitive order of the review list; <0, 0, >0 like strcmp.
using ItemCompare = int (*)(const char*, const char*);
int CompareAsciiNoCase(const char* a, const char* b);

// A sort key of an item: byte order of keys is the comparison's order, equal
// keys mean equal items. Comparing precomputed keys is much cheaper than a
// locale-aware comparison per step of a tree search.
using ItemKey = std::string (*)(const std::string& item);
std::string AsciiFoldedKey(const std::string& item);

// The review list's content: sorted, an item added only when no equal item
// is there yet (the first form seen stays). Ordered by `key` when given,
// else by `compare`; with a key, `compare` still checks that items with
// equal keys are equal (see consistent()).
class ReviewItems {
public:
    ReviewItems(ItemCompare compare, ItemKey key) : compare_(compare), key_(key),
                                                   by_compare_(Less{compare}) {}
    bool Add(std::string item);  // true when added
    std::size_t size() const { return key_ ? by_key_.size() : by_compare_.size(); }
    std::vector<std::string> InOrder() const;
    // False when a key called two items equal that the comparison does not.
    bool consistent() const { return consistent_; }

private:
    struct Less {
        ItemCompare compare;
        bool operator()(const std::string& a, const std::string& b) const {
            return compare(a.c_str(), b.c_str()) < 0;
        }
    };
    ItemCompare compare_;
    ItemKey key_;
    bool consistent_ = true;
    std::set<std::string, Less> by_compare_;
    std::map<std::string, std::string> by_key_;
};

// What one reading of the log found.
struct LogReview {
    std::vector<std::string> items;  // in list order
    std::string custom_group;        // whole, as the log has it
    bool consistent = true;          // see ReviewItems::consistent()
};

// Two passes over the log: extracted files that exist (and their help index
// companions) and the custom group name, then the shortcut lines with their
// path macros expanded (the group name already known). `read_log` feeds the
// whole log to the splitter; it is called once per pass. Only fully
// qualified file paths and shortcuts of plain group and name parts are taken
// (see removal_paths.h); `file_exists` is asked about those only.
struct LogSources {
    std::function<void(LogLineSplitter&)> read_log;
    std::function<bool(const std::string&)> file_exists;
    MacroFolders folders;  // custom_group is filled in by the first pass
    ItemCompare compare = CompareAsciiNoCase;
    ItemKey key = nullptr;  // optional faster ordering, see ReviewItems
    // What an existing file's path names (optional): a file named again in
    // another spelling (short names, case) is listed once, in its first form.
    std::function<std::string(const std::string&)> file_identity;
};
LogReview ReviewInstallLog(const LogSources& sources);

// A removal list: entries each followed by CR LF; absent when its kind of
// item does not occur.
struct RemovalList {
    bool present = false;
    std::string text;
};

struct RemovalLists {
    RemovalList files;
    RemovalList shortcuts;  // entries without the prefix, with ".lnk"
};

// Deeper items (more backslashes) first; inside one depth the list's own
// order reversed.
RemovalLists BuildRemovalLists(const std::vector<std::string>& items_in_list_order);

struct ListEntry {
    std::string text;  // at most kMaxListEntryLength characters
    bool cut = false;  // the entry was longer: never act on it
};

// The entry from `cursor` to the next CR; the cursor then moves past the CR
// and the LF after it. False at the end or when the list is absent.
bool NextListEntry(const RemovalList& list, std::size_t& cursor, ListEntry& entry);
