// Portable view of a hosted control's dispatch interface: one typed property
// put or get by DISPID. The Win32 shell implements it over IDispatch; tests
// implement it with a recording fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ulmarsh {

// A property as the bench addresses it: DISPID plus the name shown in messages.
struct Prop {
    int32_t dispid;
    const char* name;
};

class ControlProperties {
public:
    virtual ~ControlProperties() = default;
    virtual const char* ControlName() const = 0;
    // Each call returns an HRESULT-like status: negative means it failed.
    virtual int32_t PutString(int32_t dispid, const std::string& value) = 0;
    virtual int32_t PutI4(int32_t dispid, int32_t value) = 0;
    virtual int32_t PutI2(int32_t dispid, int16_t value) = 0;
    virtual int32_t PutBool(int32_t dispid, bool value) = 0;
    virtual int32_t GetString(int32_t dispid, std::string& value) = 0;
    virtual int32_t GetI4(int32_t dispid, int32_t& value) = 0;
    virtual int32_t GetI2(int32_t dispid, int16_t& value) = 0;
};

struct PropertyFailure {
    std::string control;
    std::string property;
    int32_t status = 0;
};

// Runs a sequence of property calls; the first failure is kept and every later
// call is skipped, so a failed write stops the sequence where it happened.
class PropertySession {
public:
    void PutString(ControlProperties& c, Prop p, const std::string& v);
    void PutI4(ControlProperties& c, Prop p, int32_t v);
    void PutI2(ControlProperties& c, Prop p, int16_t v);
    void PutBool(ControlProperties& c, Prop p, bool v);
    // Getters return a zero value once the session has failed.
    std::string GetString(ControlProperties& c, Prop p);
    int32_t GetI4(ControlProperties& c, Prop p);
    int16_t GetI2(ControlProperties& c, Prop p);

    bool ok() const { return !failure_.has_value(); }
    const std::optional<PropertyFailure>& failure() const { return failure_; }
    // Keeps an earlier failure (from a nested event handler, say).
    void Fail(const PropertyFailure& f);

private:
    bool Check(ControlProperties& c, Prop p, int32_t status);
    std::optional<PropertyFailure> failure_;
};

}  // namespace ulmarsh
