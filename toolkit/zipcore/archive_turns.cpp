#include "toolkit/zipcore/archive_turns.h"

#include "common/padded_number.h"
#include "toolkit/zipcore/run_progress.h"

namespace zipcore {

std::unique_ptr<ArchiveLock> waitForArchiveTurn(FileSystem& fs, const std::string& archivePath, RunEvents& events) {
    int waits = 0;
    return fs.lockArchive(archivePath, [&] {
        const bool tell = waits++ % 10 == 0;
        return confirmStop(events, tell && events.majorStatus("Waiting for " + archivePath, 0));
    });
}

// FNV-1a over the path with both separators alike and ASCII letters in upper case. Two
// archives that share a hash only take turns needlessly.
std::string archiveLockName(const std::string& fullPath) {
    uint64_t hash = 14695981039346656037ull;
    for (char c : fullPath) {
        if (c == '/') c = '\\';
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return "VarnexArchive-" + PaddedNumber(hash, 16, 16);
}

}  // namespace zipcore
