#include "ulmarsh/unzip_run.h"

#include "ulmarsh/item_info_text.h"
#include "ulmarsh/unzip_props.h"

namespace ulmarsh {
namespace {

// True when the write returned and the status handlers recorded no failure.
bool WriteAction(PropertySession& s, Module1& state, const RunTargets& t, int16_t action) {
    if (!s.ok()) return false;
    state.RunInProgress = kTrue;
    s.PutI2(t.unzip, unzip::Action, action);
    state.RunInProgress = kFalse;
    if (t.events.failure()) s.Fail(*t.events.failure());
    t.events = PropertySession();
    return s.ok();
}

// One result: the text of a read that succeeded, nothing otherwise.
template <typename Read>
ResultText ReadResult(PropertySession& s, Read read) {
    if (!s.ok()) return std::nullopt;
    std::string text = read();
    if (!s.ok()) return std::nullopt;
    return text;
}

}  // namespace

ItemInfoTexts ShowItemInfo(PropertySession& s, ControlProperties& unzip) {
    ItemInfoTexts t;
    t.index = ReadResult(s, [&] { return DecimalText(s.GetI4(unzip, unzip::ZIIndex)); });
    t.oSize = ReadResult(s, [&] { return SizeText(s.GetI4(unzip, unzip::ZIoSize)); });
    t.cSize = ReadResult(s, [&] { return SizeText(s.GetI4(unzip, unzip::ZIcSize)); });
    t.crc32 = ReadResult(s, [&] { return DecimalText(s.GetI4(unzip, unzip::ZIcrc32)); });
    t.dateTime = ReadResult(s, [&] { return s.GetString(unzip, unzip::ZIszDateTime); });
    t.pathType = ReadResult(
        s, [&] { return std::string(PathTypeText(s.GetI2(unzip, unzip::ZICPathType))); });
    t.method =
        ReadResult(s, [&] { return std::string(MethodName(s.GetI2(unzip, unzip::ZIcMethod))); });
    t.attr = ReadResult(s, [&] { return AttributeText(s.GetI4(unzip, unzip::ZIattr)); });
    t.fileName = ReadResult(s, [&] { return s.GetString(unzip, unzip::ZIszFileName); });
    return t;
}

RunResultTexts RunUnzipFunction(PropertySession& s, Module1& state, const RunTargets& t,
                                const UnzipOptionInputs& in, const std::string& archivePath,
                                const std::string& itemSpecs, int16_t action) {
    // A failure left over from an earlier run is not this run's.
    t.events = PropertySession();
    ApplyUnzipOptions(s, state, t.unzip, t.majorStatus, t.minorStatus, in, archivePath, itemSpecs);
    RunResultTexts r;
    r.completed = WriteAction(s, state, t, action);
    r.returnValue =
        ReadResult(s, [&] { return DecimalText(s.GetI2(t.unzip, unzip::ReturnValue)); });
    r.count = ReadResult(s, [&] { return DecimalText(s.GetI4(t.unzip, unzip::Count)); });
    r.returnString = ReadResult(s, [&] { return s.GetString(t.unzip, unzip::ReturnString); });
    r.item = ShowItemInfo(s, t.unzip);
    return r;
}

StringRunResultTexts RunUnzipToString(PropertySession& s, Module1& state, const RunTargets& t,
                                      const UnzipOptionInputs& in, const std::string& archivePath,
                                      const std::string& itemName, int32_t startingOffset,
                                      int32_t charsToUnzip) {
    t.events = PropertySession();
    ApplyUnzipOptions(s, state, t.unzip, t.majorStatus, t.minorStatus, in, archivePath, itemName);
    s.PutI4(t.unzip, unzip::StartingOffset, startingOffset);
    s.PutI4(t.unzip, unzip::CharsToUnZIP, charsToUnzip);
    StringRunResultTexts r;
    r.completed = WriteAction(s, state, t, unzip::kActionUnzipToString);
    // Both forms' boxes show the same value; it is read once per box.
    s.GetI2(t.unzip, unzip::ReturnValue);
    r.returnValue =
        ReadResult(s, [&] { return DecimalText(s.GetI2(t.unzip, unzip::ReturnValue)); });
    r.count = ReadResult(s, [&] { return DecimalText(s.GetI4(t.unzip, unzip::Count)); });
    r.returnCount =
        ReadResult(s, [&] { return DecimalText(s.GetI4(t.unzip, unzip::CharsToUnZIP)); });
    r.unzipString = ReadResult(s, [&] { return s.GetString(t.unzip, unzip::UnZIPString); });
    r.item = ShowItemInfo(s, t.unzip);
    return r;
}

}  // namespace ulmarsh
