// Dispatch identifiers, action codes, option bits and events of the archive
// controls vxunzip, vxzip and vxstatus. Portable: no windows.h, so both the
// programs' portable cores and the controls themselves can share it.
#pragma once

#include <cstdint>

namespace vx {

// Property types as they travel through IDispatch.
enum class PropType : std::uint8_t { Bstr, I2, I4, Bool };

// 16-bit Automation booleans.
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

namespace unzip {
enum Dispid : std::int32_t {
    ZIPFile = 1,
    FileSpec = 2,
    Index = 3,
    Destination = 4,
    AuxFlagA = 5,
    MajorStatusFlag = 6,
    MinorStatusFlag = 7,
    FreshenFlag = 8,
    UpdateFlag = 9,
    OverwriteFlag = 10,
    QuietFlag = 11,
    TestFlag = 12,
    NoDirectoryItemsFlag = 13,
    RecurseFlag = 14,
    NoDirectoryNamesFlag = 15,
    Count = 16,
    ReturnString = 17,
    DiagnosticLogFlag = 18,
    LFtoCRLFFlag = 19,
    DecryptFlag = 20,
    DecryptCode = 21,
    AuxFlagB = 22,
    OptionBits = 23,
    ReturnValue = 24,
    ZIIndex = 25,
    ZIoSize = 26,
    ZIcSize = 27,
    ZIcMethod = 28,
    ZICPathType = 29,
    ZIcrc32 = 30,
    ZIszDateTime = 31,
    ZIszFileName = 32,
    ZIattr = 33,
    Action = 34,
    AllowRenamingFlag = 35,
    AuxCode = 36,
    ExtProgTitle = 37,
    UnZIPString = 41,
    StartingOffset = 42,
    CharsToUnZIP = 43,
    AuxFlagC = 45,
};

enum ActionCode : std::int16_t {
    CountAllMembers = 1,
    GetNextInfo = 2,
    CountNamedMembers = 3,
    GetNextNamedInfo = 4,
    GetCommentSize = 5,
    GetComment = 6,
    GetIndexedInfo = 7,
    Extract = 8,
    UnzipToString = 9,
};

enum OptionBit : std::int32_t {
    OverwriteReadOnly = 1,
    AllowMinorCancel = 2,
    UseExternalProgress = 4,
    AllowExternalCancel = 8,
    IgnoreLongNames = 16,
    MangleLongNames = 32,
    ForceRemoveable = 128,
    LogResults = 256,
};

constexpr std::int32_t kMaxPasswordLength = 65;
} // namespace unzip

namespace zip {
enum Dispid : std::int32_t {
    ZIPFile = 1,
    ItemList = 2,
    ZipOption3 = 3,
    MajorStatusFlag = 4,
    MinorStatusFlag = 5,
    ZipOption6 = 6,
    RecurseFlag = 7,
    ZipOption8 = 8, // I2: deflate level 0 (store) to 9
    ZipOption9 = 9,
    ZipOption10 = 10,
    ZipText11 = 11,
    ZipOption12 = 12,
    ZipOption13 = 13,
    ZipOption14 = 14,
    ZipOption15 = 15,
    ZipOption16 = 16,
    ZipOption17 = 17,
    ZipOption18 = 18,
    ZipOption19 = 19,
    ZipText20 = 20,
    ZipOption21 = 21,
    ZipText22 = 22,
    ZipOption23 = 23,
    ZipOption24 = 24,
    ZipText25 = 25,
    ZipOption26 = 26,
    ZipText27 = 27,
    ZipOption28 = 28,
    ZipOption29 = 29,
    ZipOption30 = 30,
    ZipText31 = 31,
    ZipOption32 = 32,
    ZipOption33 = 33,
    ZipOption34 = 34,
    ZipText35 = 35,
    ZipOption36 = 36,
    MultiVolumeFlags = 37,
    OptionBits = 38,
    ReturnValue = 39,
    Action = 40,
    ExtProgTitle = 42,
    ZipText44 = 44,
};

enum ActionCode : std::int16_t {
    None = 0,
    Add = 4,
};

enum OptionBit : std::int32_t {
    UseExternalProgress = 4,
    AllowExternalCancel = 8,
};

enum MultiVolumeBit : std::int32_t {
    MultiVolume = 0x8000,
    CdFirst = 0x1000,
};
} // namespace zip

namespace status {
enum Dispid : std::int32_t {
    Percent = 1,
    StatusText = 2,
};
}

// Events of vxzip and vxunzip; RenameEvent is raised by vxunzip only.
enum EventDispid : std::int32_t {
    MajorStatusEvent = 1,
    MinorStatusEvent = 2,
    MessageEvent = 3,
    RenameEvent = 4,
};

// Type of each property of a control; false when the control has no such DISPID.
inline bool UnzipPropertyType(std::int32_t dispid, PropType& type)
{
    using namespace unzip;
    switch (dispid) {
    case ZIPFile: case FileSpec: case Destination: case ReturnString: case DecryptCode:
    case ZIszDateTime: case ZIszFileName: case ExtProgTitle: case UnZIPString:
        type = PropType::Bstr; return true;
    case Index: case Count: case OptionBits: case ZIIndex: case ZIoSize: case ZIcSize:
    case ZIcrc32: case ZIattr: case StartingOffset: case CharsToUnZIP:
        type = PropType::I4; return true;
    case ReturnValue: case ZIcMethod: case ZICPathType: case Action: case AuxCode:
        type = PropType::I2; return true;
    case AuxFlagA: case MajorStatusFlag: case MinorStatusFlag: case FreshenFlag:
    case UpdateFlag: case OverwriteFlag: case QuietFlag: case TestFlag:
    case NoDirectoryItemsFlag: case RecurseFlag: case NoDirectoryNamesFlag:
    case DiagnosticLogFlag: case LFtoCRLFFlag: case DecryptFlag: case AuxFlagB:
    case AllowRenamingFlag: case AuxFlagC:
        type = PropType::Bool; return true;
    default:
        return false;
    }
}

inline bool ZipPropertyType(std::int32_t dispid, PropType& type)
{
    using namespace zip;
    switch (dispid) {
    case ZIPFile: case ItemList: case ZipText11: case ZipText20: case ZipText22:
    case ZipText25: case ZipText27: case ZipText31: case ZipText35: case ExtProgTitle:
    case ZipText44:
        type = PropType::Bstr; return true;
    case MultiVolumeFlags: case OptionBits:
        type = PropType::I4; return true;
    case ZipOption8: case ReturnValue: case Action:
        type = PropType::I2; return true;
    default:
        break;
    }
    if (dispid >= 3 && dispid <= 36) { // every other DISPID up to 36 is a switch
        type = PropType::Bool;
        return true;
    }
    return false;
}

inline bool StatusPropertyType(std::int32_t dispid, PropType& type)
{
    switch (dispid) {
    case status::Percent: type = PropType::I4; return true;
    case status::StatusText: type = PropType::Bstr; return true;
    default: return false;
    }
}

} // namespace vx
