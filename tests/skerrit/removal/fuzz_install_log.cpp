// Feeds arbitrary bytes to the log reader as the log, split into chunks at
// data-chosen points, and checks the removal lists it derives.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "skerrit/removal/install_log.h"
#include "skerrit/removal/removal_paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string log(reinterpret_cast<const char*>(data) + 1, size - 1);

    LogSources sources;
    sources.read_log = [&](LogLineSplitter& splitter) {
        for (std::size_t i = 0; i < log.size(); i += chunk) splitter.Feed(log.substr(i, chunk));
    };
    // Every other path "exists", so both branches run.
    sources.file_exists = [](const std::string& path) { return path.size() % 2 == 0; };
    sources.folders.exe = "C:\\Program Files\\App\\";
    sources.folders.windows = "C:\\WINDOWS";
    const LogReview review = ReviewInstallLog(sources);

    // Nothing listed may name a path the system would resolve elsewhere.
    for (const std::string& item : review.items) {
        if (item.find('\0') != std::string::npos) __builtin_trap();
        const std::size_t prefix = std::strlen(kShortcutItemPrefix);
        if (item.compare(0, prefix, kShortcutItemPrefix) == 0) {
            const std::string entry = item.substr(prefix);
            if (entry.find("\\..\\") != std::string::npos || entry.find(':') != std::string::npos)
                __builtin_trap();
        } else if (!IsFullyQualifiedPath(item)) {
            __builtin_trap();
        }
    }

    const RemovalLists lists = BuildRemovalLists(review.items);
    std::size_t entries = 0;
    for (const RemovalList* list : {&lists.files, &lists.shortcuts}) {
        std::size_t cursor = 0;
        ListEntry entry;
        while (NextListEntry(*list, cursor, entry)) {
            if (entry.text.size() > kMaxListEntryLength) __builtin_trap();
            ++entries;
        }
    }
    // Items holding a CR would split into more entries; anything else maps 1:1.
    bool has_cr = false;
    for (const std::string& item : review.items) has_cr |= item.find('\r') != std::string::npos;
    if (!has_cr && entries != review.items.size()) __builtin_trap();
    return 0;
}
