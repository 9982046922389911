#include "toolkit/shared/registration.h"

namespace vxreg {

namespace {

RegistryEntry Key(const std::string& key, const std::string& defaultValue)
{
    return RegistryEntry{key, true, true, std::string(), defaultValue};
}

RegistryEntry Value(const std::string& key, const std::string& name, const std::string& value)
{
    return RegistryEntry{key, false, true, name, value};
}

} // namespace

std::vector<RegistryEntry> ControlRegistryTable(const ServerIdentity& id)
{
    const std::string cls = "CLSID\\" + id.clsid;
    return {
        Key(cls, id.description),
        Key(cls + "\\InprocServer32", id.modulePath),
        Value(cls + "\\InprocServer32", "ThreadingModel", "Apartment"),
        Key(cls + "\\ProgID", id.progId),
        Key(cls + "\\Control", ""),
        Key(cls + "\\TypeLib", id.libid),
        Key(cls + "\\Version", id.version),
        Key(id.progId, id.description),
        Key(id.progId + "\\CLSID", id.clsid),
    };
}

} // namespace vxreg
