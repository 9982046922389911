#include "toolkit/vxunzip/unzip_control_win.h"

#include "framework/vxcontrols_ids.h"
#include "toolkit/shared/control_run_events_win.h"
#include "toolkit/shared/resource.h"
#include "toolkit/shared/com_module_win.h"
#include "toolkit/shared/win32_file_system_win.h"
#include "toolkit/vxunzip/vxunzip_h.h"
#include "toolkit/zipcore/unzip_engine.h"

namespace vxunzip {

namespace {

using namespace vx::unzip;

// A write of Action while a run of the same control is in progress (from an
// event handler) does not start a second run.
constexpr short kBusy = 100;

const vxcom::ControlClass& UnzipClass()
{
    static const vxcom::ControlClass cls = [] {
        vxcom::ControlClass c{&CLSID_vxunzipctrl, &DIID__Dvxunzip, &DIID__DvxunzipEvents,
                              &vx::UnzipPropertyType, {}, {{Index, -1}}};
        for (std::int32_t id = 1; id <= 45; ++id) {
            vx::PropType t;
            if (vx::UnzipPropertyType(id, t)) c.dispids.push_back(id);
        }
        return c;
    }();
    return cls;
}

std::string LoadText(UINT id)
{
    char buffer[128];
    int n = LoadStringA(vxcom::ModuleHandle(), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

} // namespace

UnzipControl::UnzipControl() : DispatchControl(UnzipClass()) {}

HRESULT UnzipControl::AfterPut(std::int32_t id)
{
    if (id == Action) Run(static_cast<short>(Number(Action)));
    return S_OK;
}

void UnzipControl::Run(short action)
{
    if (running_) {
        SetNumber(ReturnValue, kBusy);
        return;
    }
    running_ = true;
    AddRef(); // a handler may release the host's last reference during the run
    try {
        RunAction(action);
    } catch (...) {
        SetNumber(ReturnValue, vxcom::ResultOfException(*this, LoadText(IDS_UNZIP_MESSAGE_TITLE)));
    }
    running_ = false;
    Release();
}

void UnzipControl::RunAction(short action)
{
    const long bits = Number(OptionBits);
    zipcore::UnzipOptions o;
    o.archivePath = Text(ZIPFile);
    o.fileSpec = Text(FileSpec);
    o.destination = Text(Destination);
    o.index = Number(Index);
    o.freshen = Flag(FreshenFlag);
    o.update = Flag(UpdateFlag);
    o.overwrite = Flag(OverwriteFlag);
    o.overwriteReadOnly = (bits & OverwriteReadOnly) != 0;
    o.ignoreLongNames = (bits & IgnoreLongNames) != 0;
    o.mangleLongNames = (bits & MangleLongNames) != 0;
    o.test = Flag(TestFlag);
    o.noDirectoryItems = Flag(NoDirectoryItemsFlag);
    o.recurse = Flag(RecurseFlag);
    o.noDirectoryNames = Flag(NoDirectoryNamesFlag);
    o.lfToCrlf = Flag(LFtoCRLFFlag);
    o.decrypt = Flag(DecryptFlag);
    o.password = AnsiText(DecryptCode); // keys old archives as before
    o.allowRenaming = Flag(AllowRenamingFlag);
    o.startingOffset = Number(StartingOffset);
    o.charsToUnzip = Number(CharsToUnZIP);

    vxcom::RunEventSettings s;
    s.majorEvents = Flag(MajorStatusFlag);
    s.minorEvents = Flag(MinorStatusFlag);
    s.minorCancel = (bits & AllowMinorCancel) != 0;
    s.quiet = Flag(QuietFlag);
    s.progressWindow = (bits & UseExternalProgress) != 0;
    s.progressCancel = (bits & AllowExternalCancel) != 0;
    s.progressTitle = Text(ExtProgTitle);
    s.messageTitle = LoadText(IDS_UNZIP_MESSAGE_TITLE);
    s.logSteps = Flag(DiagnosticLogFlag);
    // The log goes where the comment would: not for the run that fetches the comment.
    const bool logResults =
        ((bits & LogResults) != 0 || Flag(DiagnosticLogFlag)) && action != GetComment;
    std::string log;

    zipcore::UnzipOutcome out;
    if (action < CountAllMembers || action > UnzipToString) {
        out.code = zipcore::ZipResult::BadArgument;
    } else {
        vxfs::Win32FileSystem fs;
        vxcom::ControlRunEvents events(*this, s);
        out = zipcore::runUnzip(fs, static_cast<zipcore::UnzipAction>(action), o, events);
        log = events.Log();
    }

    SetNumber(ReturnValue, static_cast<short>(out.code));
    SetNumber(Count, out.count);
    switch (action) {
    case GetComment:
        SetAnsiText(ReturnString, out.returnString);
        break;
    case UnzipToString:
        SetAnsiText(vx::unzip::UnZIPString, out.unzipString);
        SetNumber(CharsToUnZIP, out.charsReturned);
        break;
    default:
        break;
    }
    if (logResults) {
        log += "result " + std::to_string(static_cast<int>(out.code)) + ": " +
               zipcore::resultText(out.code) + ", count " + std::to_string(out.count);
        SetText(ReturnString, log);
    }
    if (out.hasInfo) {
        const zipcore::ItemInfo& i = out.info;
        SetNumber(ZIIndex, i.index);
        // Sizes of 2 GiB to 4 GiB - 2 keep their unsigned bits: a host reading the I4 as a
        // DWORD sees them whole. Larger items never get here (TooLarge).
        SetNumber(ZIoSize, static_cast<long>(static_cast<std::uint32_t>(i.originalSize)));
        SetNumber(ZIcSize, static_cast<long>(static_cast<std::uint32_t>(i.compressedSize)));
        SetNumber(ZIcMethod, static_cast<short>(i.method));
        SetNumber(ZICPathType, i.isDirectory ? 1 : 0);
        SetNumber(ZIcrc32, static_cast<long>(i.crc32));
        SetText(ZIszDateTime, i.dateTimeText);
        SetText(ZIszFileName, i.name);
        SetNumber(ZIattr, static_cast<long>(i.attributes));
    }
    // "Next" walks on from the item just reached, also one too large to show.
    if ((action == GetNextInfo || action == GetNextNamedInfo) && out.reachedIndex >= 0)
        SetNumber(Index, out.reachedIndex);
}

} // namespace vxunzip
