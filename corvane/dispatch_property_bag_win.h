// The job settings' view of a control: typed puts and gets on its IDispatch.
#pragma once

#include "corvane/job_settings.h"
#include "framework/vxcontrols.h"

class DispatchPropertyBag : public corvane::PropertyBag {
public:
    explicit DispatchPropertyBag(IDispatch* control) : control_(control) {}

    void PutString(std::int32_t dispid, const std::string& value) override
    {
        vx::PutBstr(control_, dispid, value.c_str());
    }
    void PutBool(std::int32_t dispid, bool value) override { vx::PutBool(control_, dispid, value); }
    void PutI2(std::int32_t dispid, std::int16_t value) override { vx::PutI2(control_, dispid, value); }
    void PutI4(std::int32_t dispid, std::int32_t value) override { vx::PutI4(control_, dispid, value); }
    std::int32_t GetI4(std::int32_t dispid) override
    {
        long value = 0;
        vx::GetI4(control_, dispid, value);
        return static_cast<std::int32_t>(value);
    }

private:
    IDispatch* control_;
};
