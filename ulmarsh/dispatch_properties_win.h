// The bench's property calls on a hosted control's IDispatch.
#pragma once

#include <oaidl.h>

#include "ulmarsh/control_properties.h"

namespace ulmarsh {

class DispatchProperties : public ControlProperties {
public:
    explicit DispatchProperties(const char* controlName) : name_(controlName) {}
    void Attach(IDispatch* dispatch) { dispatch_ = dispatch; }  // borrowed from the site

    const char* ControlName() const override { return name_; }
    int32_t PutString(int32_t dispid, const std::string& value) override;
    int32_t PutI4(int32_t dispid, int32_t value) override;
    int32_t PutI2(int32_t dispid, int16_t value) override;
    int32_t PutBool(int32_t dispid, bool value) override;
    int32_t GetString(int32_t dispid, std::string& value) override;
    int32_t GetI4(int32_t dispid, int32_t& value) override;
    int32_t GetI2(int32_t dispid, int16_t& value) override;

private:
    const char* name_;
    IDispatch* dispatch_ = nullptr;
};

}  // namespace ulmarsh
