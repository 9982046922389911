#include "toolkit/shared/com_module_win.h"
#include "toolkit/shared/server_exports_win.h"
#include "toolkit/vxzip/vxzip_h.h"
#include "toolkit/vxzip/zip_control_win.h"

namespace vxcom {

const vxreg::ServerDescription& ThisServer()
{
    static const vxreg::ServerDescription server{CLSID_vxzipctrl, LIBID_VXZIPLib,
                                                 "VXZIPLibCtl.vxzipctrl", "vxzip Control"};
    return server;
}

IClassFactory* ThisClassFactory()
{
    static ClassFactory<vxzip::ZipControl> factory;
    return &factory;
}

} // namespace vxcom
