#include "toolkit/vxzip/zip_control_win.h"

#include "framework/vxcontrols_ids.h"
#include "toolkit/shared/com_module_win.h"
#include "toolkit/shared/control_run_events_win.h"
#include "toolkit/shared/resource.h"
#include "toolkit/shared/win32_file_system_win.h"
#include "toolkit/vxzip/vxzip_h.h"
#include "toolkit/zipcore/zip_engine.h"

namespace vxzip {

namespace {

using namespace vx::zip;

constexpr short kBusy = 100;
constexpr long kDefaultLevel = 6;

const vxcom::ControlClass& ZipClass()
{
    static const vxcom::ControlClass cls = [] {
        vxcom::ControlClass c{&CLSID_vxzipctrl, &DIID__Dvxzip, &DIID__DvxzipEvents,
                              &vx::ZipPropertyType, {}, {{ZipOption8, kDefaultLevel}}};
        for (std::int32_t id = 1; id <= 44; ++id) {
            vx::PropType t;
            if (vx::ZipPropertyType(id, t)) c.dispids.push_back(id);
        }
        return c;
    }();
    return cls;
}

// Volumes of a split archive on removable media are written one medium at a time.
bool OnRemovableMedia(const std::string& path)
{
    if (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) {
        const char root[4] = {path[0], ':', '\\', '\0'};
        return GetDriveTypeA(root) == DRIVE_REMOVABLE;
    }
    return GetDriveTypeA(nullptr) == DRIVE_REMOVABLE;
}

std::string LoadText(UINT id)
{
    char buffer[128];
    int n = LoadStringA(vxcom::ModuleHandle(), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

} // namespace

ZipControl::ZipControl() : DispatchControl(ZipClass()) {}

HRESULT ZipControl::AfterPut(std::int32_t id)
{
    if (id != Action) return S_OK;
    const short action = static_cast<short>(Number(Action));
    if (action == Add)
        Run();
    else if (action != None) // 0 only stores the code: hosts write it while setting up
        SetNumber(ReturnValue, static_cast<short>(zipcore::ZipResult::BadArgument));
    return S_OK;
}

void ZipControl::Run()
{
    if (running_) {
        SetNumber(ReturnValue, kBusy);
        return;
    }
    running_ = true;
    AddRef(); // a handler may release the host's last reference during the run
    try {
        RunAdd();
    } catch (...) {
        SetNumber(ReturnValue, vxcom::ResultOfException(*this, LoadText(IDS_ZIP_MESSAGE_TITLE)));
    }
    running_ = false;
    Release();
}

void ZipControl::RunAdd()
{
    const long bits = Number(OptionBits);
    const long volumes = Number(MultiVolumeFlags);
    zipcore::ZipAddOptions o;
    o.archivePath = Text(ZIPFile);
    o.itemList = Text(ItemList);
    o.recurse = Flag(RecurseFlag);
    o.level = static_cast<int>(Number(ZipOption8));
    if (volumes & MultiVolume) {
        o.volumeSize = zipcore::kFloppyVolumeSize;
        if (volumes & CdFirst) o.firstVolumeSize = zipcore::kCdVolumeSize;
    }

    vxcom::RunEventSettings s;
    s.majorEvents = Flag(MajorStatusFlag);
    s.minorEvents = Flag(MinorStatusFlag);
    s.minorCancel = (bits & vx::unzip::AllowMinorCancel) != 0;
    s.progressWindow = (bits & UseExternalProgress) != 0;
    s.progressCancel = (bits & AllowExternalCancel) != 0;
    s.progressTitle = Text(ExtProgTitle);
    s.messageTitle = LoadText(IDS_ZIP_MESSAGE_TITLE);
    s.promptNextVolume = o.volumeSize != 0 && OnRemovableMedia(o.archivePath);

    zipcore::ZipAddOutcome out;
    if (o.level < 0 || o.level > 9) {
        out.code = zipcore::ZipResult::BadArgument;
    } else {
        vxfs::Win32FileSystem fs;
        vxcom::ControlRunEvents events(*this, s);
        out = zipcore::runZipAdd(fs, o, events);
    }
    SetNumber(ReturnValue, static_cast<short>(out.code));
}

} // namespace vxzip
