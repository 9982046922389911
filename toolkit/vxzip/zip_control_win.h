// The zip control: a typed property store whose Action write (4) adds the
// item list to the archive through the ZIP engine.
#pragma once

#include "toolkit/shared/dispatch_control_win.h"

namespace vxzip {

class ZipControl final : public vxcom::DispatchControl {
public:
    ZipControl();

protected:
    HRESULT AfterPut(std::int32_t id) override;

private:
    void Run();
    void RunAdd();

    bool running_ = false;
};

} // namespace vxzip
