// The unzip control: a typed property store whose Action write runs one
// function of the ZIP engine and stores its results.
#pragma once

#include "toolkit/shared/dispatch_control_win.h"

namespace vxunzip {

class UnzipControl final : public vxcom::DispatchControl {
public:
    UnzipControl();

protected:
    HRESULT AfterPut(std::int32_t id) override;

private:
    void Run(short action);
    void RunAction(short action);

    bool running_ = false;
};

} // namespace vxunzip
