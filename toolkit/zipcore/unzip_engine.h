// The unzip control's functions over an archive file: counting, item information, comments,
// extraction and test, and unzipping one item into a string.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/zipcore/dos_time.h"
#include "toolkit/zipcore/file_system.h"
#include "toolkit/zipcore/run_events.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

// Values of the unzip control's Action property. Every action opens the archive first (a split
// archive with all its volumes) and fails with its open result (ZipResult 1-3, 4 for a missing
// volume, 16 for a central directory over 128 MiB) and message 2 or 3. The item information
// of an item of 4 GiB or more (either size 0xFFFFFFFF or larger) does not fit the 32-bit
// properties: actions 2, 4, 7 and 9 give TooLarge and message 3 for it instead.
enum class UnzipAction : int16_t {
    CountAll = 1,        // Count := number of items
    NextInfo = 2,        // information of item Index + 1; IndexOutOfRange past the last item
    CountNamed = 3,      // Count := items matching FileSpec; NothingMatched when none
    NextNamedInfo = 4,   // information of the first matching item after Index; NothingMatched
                         // when no later item matches
    CommentSize = 5,     // Count := archive comment length in bytes
    Comment = 6,         // ReturnString := archive comment; Count := its length
    IndexedInfo = 7,     // information of item Index; IndexOutOfRange when there is none
    Extract = 8,         // extract (or with test, verify) matching items; Count := items done.
                         // Items that fail are reported (message) and the run goes on; the
                         // result is the first failure, or ItemSkipped when existing files
                         // were kept because the host did not say yes, or Cancelled.
    UnzipToString = 9,   // first matching file item (Index when FileSpec is blank) from
                         // StartingOffset, at most CharsToUnzip bytes; Count := 1
};

struct UnzipOptions {
    std::string archivePath;
    std::string fileSpec;         // blank-separated specs, "quoted long names", * and ?; blank = all
    std::string destination;      // target folder; empty = current folder
    int32_t index = -1;           // zero-based item index; -1 = none
    bool freshen = false;         // only replace existing files older than the item
    bool update = false;          // replace older files and create missing ones
    bool overwrite = false;       // replace existing files without asking
    bool overwriteReadOnly = false;  // OptionBits 1: replace read-only files without asking
    bool test = false;            // check items (CRC) without writing anything
    bool noDirectoryItems = false;   // skip directory items
    bool recurse = false;         // specs also match in every folder below their own
    bool noDirectoryNames = false;   // write every file into the destination itself
    bool lfToCrlf = false;        // turn lone LF into CRLF in every extracted file item
    bool decrypt = false;         // use password for encrypted items
    std::string password;         // used whole: longer than the hosts' 65 still works
    bool ignoreLongNames = false; // OptionBits 16: items whose names are not 8.3 are passed over
    bool mangleLongNames = false; // OptionBits 32: long name parts are written as NAME~1.EXT
    bool allowRenaming = false;   // call RunEvents::rename per extracted item
    int32_t startingOffset = 0;   // UnzipToString: byte offset into the item
    int32_t charsToUnzip = 0;     // UnzipToString: bytes wanted (capped at kMaxStringChars)
};

// Information about one item, as the unzip control's ZI* properties show it. Sizes are below
// 0xFFFFFFFF in every ItemInfo a run returns; the properties carry them as unsigned 32-bit bits.
struct ItemInfo {
    int32_t index = 0;
    uint64_t originalSize = 0;
    uint64_t compressedSize = 0;
    uint16_t method = 0;          // ZIP method number (0 stored, 8 deflated...)
    bool isDirectory = false;
    uint32_t crc32 = 0;
    DosDateTime modified;
    std::string dateTimeText;     // "MM/DD/YYYY HH:MM:SS"
    std::string name;             // as stored in the archive
    uint32_t attributes = 0;      // DOS bits | AttrEncrypted | AttrLongName
};

struct UnzipOutcome {
    ZipResult code = ZipResult::Ok;
    int32_t count = 0;
    std::string returnString;
    bool hasInfo = false;         // info holds a fresh item's information
    ItemInfo info;
    // NextInfo / NextNamedInfo: the item the walk reached, also when its information could not
    // be shown (TooLarge), so that the next call goes on after it; -1 when none was reached.
    int32_t reachedIndex = -1;
    std::string unzipString;      // UnzipToString result (bytes of the item, as read)
    int32_t charsReturned = 0;
};

constexpr int32_t kMaxStringChars = 16 * 1024 * 1024;

UnzipOutcome runUnzip(FileSystem& fs, UnzipAction action, const UnzipOptions& options,
                      RunEvents& events);

}  // namespace zipcore
