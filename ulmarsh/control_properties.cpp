#include "ulmarsh/control_properties.h"

namespace ulmarsh {

bool PropertySession::Check(ControlProperties& c, Prop p, int32_t status) {
    if (status >= 0) return true;
    failure_ = PropertyFailure{c.ControlName(), p.name, status};
    return false;
}

void PropertySession::Fail(const PropertyFailure& f) {
    if (!failure_) failure_ = f;
}

void PropertySession::PutString(ControlProperties& c, Prop p, const std::string& v) {
    if (ok()) Check(c, p, c.PutString(p.dispid, v));
}

void PropertySession::PutI4(ControlProperties& c, Prop p, int32_t v) {
    if (ok()) Check(c, p, c.PutI4(p.dispid, v));
}

void PropertySession::PutI2(ControlProperties& c, Prop p, int16_t v) {
    if (ok()) Check(c, p, c.PutI2(p.dispid, v));
}

void PropertySession::PutBool(ControlProperties& c, Prop p, bool v) {
    if (ok()) Check(c, p, c.PutBool(p.dispid, v));
}

std::string PropertySession::GetString(ControlProperties& c, Prop p) {
    std::string v;
    if (ok() && Check(c, p, c.GetString(p.dispid, v))) return v;
    return std::string();
}

int32_t PropertySession::GetI4(ControlProperties& c, Prop p) {
    int32_t v = 0;
    if (ok() && Check(c, p, c.GetI4(p.dispid, v))) return v;
    return 0;
}

int16_t PropertySession::GetI2(ControlProperties& c, Prop p) {
    int16_t v = 0;
    if (ok() && Check(c, p, c.GetI2(p.dispid, v))) return v;
    return 0;
}

}  // namespace ulmarsh
