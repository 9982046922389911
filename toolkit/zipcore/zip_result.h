// Result codes, message codes and responses of the ZIP engine. The archive controls hand
// these numbers to their hosts unchanged (ReturnValue, MessageEvent code and response).
#pragma once

#include <cstdint>

namespace zipcore {

enum class ZipResult : int16_t {
    Ok = 0,
    ArchiveNotFound = 1,     // the archive cannot be opened for reading
    NotAnArchive = 2,        // no end-of-central-directory record
    ArchiveDamaged = 3,      // a record or item lies outside the file or is inconsistent
    Zip64Unsupported = 4,    // split archive: a volume missing (reading); one to update, or a
                             // self-extractor to split (zip side)
    UnsupportedMethod = 5,   // compression method other than stored/deflated, strong encryption
    CrcMismatch = 6,         // item data does not match its CRC-32 or size
    BadPassword = 7,         // item encrypted and the password is missing or wrong
    UnsafeName = 8,          // item name is absolute, has a drive, climbs with "..", or is a device
    CreateFailed = 9,        // a file or folder of the output could not be created
    WriteFailed = 10,        // writing, renaming or closing an output failed
    ReadFailed = 11,         // a source file (zip side) could not be read
    NothingMatched = 12,     // no item matched the file spec / item list
    IndexOutOfRange = 13,    // Index names no item, or "next" ran past the last item
    Cancelled = 14,          // the host cancelled through a status event or message response
    BadArgument = 15,        // empty archive path, unknown action, negative offset, bad level
    TooLarge = 16,           // a limit was reached (item >= 4 GiB, > 65535 items, path too long)
    ItemSkipped = 17,        // some items were not extracted because the host declined them
    Busy = 100,              // the archive is being updated by this same thread (from its events)
};

// Short English text for a result code.
const char* resultText(ZipResult code);

// Messages raised through the host's message callback before the engine does something that
// would need the user. Codes 0, 1, 8, 10 and 13 are questions (see Response); 12 is a warning;
// the others report an error about to end an item or the run.
enum class MessageCode : int32_t {
    OverwriteFile = 0,       // question: the target file exists (OverwriteFlag off)
    OverwriteReadOnly = 1,   // question: the target file is read-only (OptionBits 1 off)
    ArchiveOpen = 2,         // error: archive cannot be opened or is not an archive
    ArchiveDamaged = 3,      // error: archive damaged or of an unsupported kind
    CreateFailed = 4,        // error: output file or folder cannot be created
    CrcMismatch = 5,         // error: item fails its CRC check
    UnsupportedMethod = 6,   // error: item's method cannot be handled
    UnsafeName = 7,          // error: item name refused (absolute, drive, "..", device)
    PasswordFailed = 8,      // question: item encrypted, password missing or wrong; skip it?
    WriteFailed = 9,         // error: writing output failed
    NextVolume = 10,         // question: a split archive is about to start its next volume
    SourceRead = 11,         // error: a file to add cannot be read
    NothingMatched = 12,     // warning: no item matched the file patterns
    ConfirmCancel = 13,      // question: the host asked to stop; stop now?
};

// Answers a host writes into a message's response.
enum Response : int32_t {
    ResponseDefault = 0,     // no answer: the engine takes the non-destructive choice
    ResponseYes = 1,         // overwrite / skip-and-continue / go on / stop as asked
    ResponseNo = 2,          // keep the file / stop the run / decline
};

}  // namespace zipcore
