#include "ulmarsh/dispatch_properties_win.h"

#include "framework/vxcontrols.h"

namespace ulmarsh {

int32_t DispatchProperties::PutString(int32_t dispid, const std::string& value) {
    return vx::PutBstr(dispatch_, dispid, value.c_str());
}

int32_t DispatchProperties::PutI4(int32_t dispid, int32_t value) {
    return vx::PutI4(dispatch_, dispid, value);
}

int32_t DispatchProperties::PutI2(int32_t dispid, int16_t value) {
    return vx::PutI2(dispatch_, dispid, value);
}

int32_t DispatchProperties::PutBool(int32_t dispid, bool value) {
    return vx::PutBool(dispatch_, dispid, value);
}

int32_t DispatchProperties::GetString(int32_t dispid, std::string& value) {
    return vx::GetBstr(dispatch_, dispid, value);
}

int32_t DispatchProperties::GetI4(int32_t dispid, int32_t& value) {
    long v = 0;
    const HRESULT hr = vx::GetI4(dispatch_, dispid, v);
    value = static_cast<int32_t>(v);
    return hr;
}

int32_t DispatchProperties::GetI2(int32_t dispid, int16_t& value) {
    short v = 0;
    const HRESULT hr = vx::GetI2(dispatch_, dispid, v);
    value = v;
    return hr;
}

}  // namespace ulmarsh
