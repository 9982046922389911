#include "toolkit/shared/com_module_win.h"
#include "toolkit/shared/server_exports_win.h"
#include "toolkit/vxunzip/unzip_control_win.h"
#include "toolkit/vxunzip/vxunzip_h.h"

namespace vxcom {

const vxreg::ServerDescription& ThisServer()
{
    static const vxreg::ServerDescription server{CLSID_vxunzipctrl, LIBID_VXUNZIPLib,
                                                 "VXUNZIPLibCtl.vxunzipctrl", "vxunzip Control"};
    return server;
}

IClassFactory* ThisClassFactory()
{
    static ClassFactory<vxunzip::UnzipControl> factory;
    return &factory;
}

} // namespace vxcom
