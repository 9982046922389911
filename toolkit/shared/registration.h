// The registry entries of one control class as one table: registration
// writes them in order, unregistration walks the same table in reverse.
#pragma once

#include <string>
#include <vector>

namespace vxreg {

struct ServerIdentity {
    std::string clsid;       // "{...}"
    std::string progId;
    std::string description;
    std::string libid;       // "{...}" of the type library
    std::string version;     // type library version, "1.0"
    std::string modulePath;  // full path of the DLL
};

struct RegistryEntry {
    std::string key;          // below HKEY_CLASSES_ROOT
    bool ownsKey = false;     // the key is ours: unregistration deletes it
    bool hasValue = false;
    std::string valueName;    // empty: the key's default value
    std::string value;
};

std::vector<RegistryEntry> ControlRegistryTable(const ServerIdentity& id);

} // namespace vxreg
