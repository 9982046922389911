#include "ulmarsh/unzip_run.h"

#include "ulmarsh/item_info_text.h"
#include "ulmarsh/unzip_props.h"

namespace ulmarsh {
namespace {

void WriteAction(PropertySession& s, Module1& state, ControlProperties& unzip, int16_t action) {
    if (!s.ok()) return;
    state.RunInProgress = kTrue;
    s.PutI2(unzip, unzip::Action, action);
    state.RunInProgress = kFalse;
}

}  // namespace

ItemInfoTexts ShowItemInfo(PropertySession& s, ControlProperties& unzip) {
    ItemInfoTexts t;
    t.index = DecimalText(s.GetI4(unzip, unzip::ZIIndex));
    t.oSize = DecimalText(s.GetI4(unzip, unzip::ZIoSize));
    t.cSize = DecimalText(s.GetI4(unzip, unzip::ZIcSize));
    t.crc32 = DecimalText(s.GetI4(unzip, unzip::ZIcrc32));
    t.dateTime = s.GetString(unzip, unzip::ZIszDateTime);
    t.pathType = PathTypeText(s.GetI2(unzip, unzip::ZICPathType));
    t.method = MethodName(s.GetI2(unzip, unzip::ZIcMethod));
    t.attr = AttributeText(s.GetI4(unzip, unzip::ZIattr));
    t.fileName = s.GetString(unzip, unzip::ZIszFileName);
    return t;
}

RunResultTexts RunUnzipFunction(PropertySession& s, Module1& state, const RunTargets& t,
                                const UnzipOptionInputs& in, const std::string& archivePath,
                                const std::string& itemSpecs, int16_t action) {
    ApplyUnzipOptions(s, state, t.unzip, t.majorStatus, t.minorStatus, in, archivePath, itemSpecs);
    WriteAction(s, state, t.unzip, action);
    RunResultTexts r;
    r.returnValue = DecimalText(s.GetI2(t.unzip, unzip::ReturnValue));
    r.count = DecimalText(s.GetI4(t.unzip, unzip::Count));
    r.returnString = s.GetString(t.unzip, unzip::ReturnString);
    r.item = ShowItemInfo(s, t.unzip);
    return r;
}

StringRunResultTexts RunUnzipToString(PropertySession& s, Module1& state, const RunTargets& t,
                                      const UnzipOptionInputs& in, const std::string& archivePath,
                                      const std::string& itemName, int32_t startingOffset,
                                      int32_t charsToUnzip) {
    ApplyUnzipOptions(s, state, t.unzip, t.majorStatus, t.minorStatus, in, archivePath, itemName);
    s.PutI4(t.unzip, unzip::StartingOffset, startingOffset);
    s.PutI4(t.unzip, unzip::CharsToUnZIP, charsToUnzip);
    WriteAction(s, state, t.unzip, unzip::kActionUnzipToString);
    StringRunResultTexts r;
    // Both forms' boxes show the same value; it is read once per box.
    s.GetI2(t.unzip, unzip::ReturnValue);
    r.returnValue = DecimalText(s.GetI2(t.unzip, unzip::ReturnValue));
    r.count = DecimalText(s.GetI4(t.unzip, unzip::Count));
    r.returnCount = DecimalText(s.GetI4(t.unzip, unzip::CharsToUnZIP));
    r.unzipString = s.GetString(t.unzip, unzip::UnZIPString);
    r.item = ShowItemInfo(s, t.unzip);
    return r;
}

}  // namespace ulmarsh
