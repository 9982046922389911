#include "toolkit/shared/com_module_win.h"
#include "toolkit/shared/server_exports_win.h"
#include "toolkit/vxstatus/status_control_win.h"
#include "toolkit/vxstatus/vxstatus_h.h"

namespace vxcom {

const vxreg::ServerDescription& ThisServer()
{
    static const vxreg::ServerDescription server{CLSID_vxstatusctrl, LIBID_VXSTATUSLib,
                                                 "VXSTATUSLibCtl.vxstatusctrl", "vxstatus Control"};
    return server;
}

IClassFactory* ThisClassFactory()
{
    static ClassFactory<vxstatus::StatusControl> factory;
    return &factory;
}

} // namespace vxcom
