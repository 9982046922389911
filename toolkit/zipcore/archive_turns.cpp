#include "toolkit/zipcore/archive_turns.h"

#include "common/padded_number.h"
#include "toolkit/zipcore/run_progress.h"

namespace zipcore {

ArchiveTurn waitForArchiveTurn(FileSystem& fs, const std::string& archivePath, RunEvents& events) {
    int waits = 0;
    LockRefusal refusal = LockRefusal::None;
    ArchiveTurn turn;
    turn.lock = fs.lockArchive(
        archivePath,
        [&] {
            const bool tell = waits++ % 10 == 0;
            return confirmStop(events, tell && events.majorStatus("Waiting for " + archivePath, 0));
        },
        &refusal);
    if (turn.lock) return turn;
    switch (refusal) {
    case LockRefusal::Busy: turn.code = ZipResult::Busy; break;
    case LockRefusal::Unavailable:
        turn.code = ZipResult::WriteFailed;
        events.message(MessageCode::WriteFailed, archivePath + ": the archive's lock cannot be taken");
        break;
    default: turn.code = ZipResult::Cancelled; break;
    }
    return turn;
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
