#include "toolkit/shared/registration.h"

#include <gtest/gtest.h>

#include <set>

namespace {

vxreg::ServerIdentity Identity()
{
    return {"{CLSID}", "VXUNZIPLibCtl.vxunzipctrl", "vxunzip Control", "{LIBID}", "1.0",
            "C:\\bin\\VXUNZIP.DLL"};
}

TEST(RegistrationTable, ParentsComeBeforeTheirChildren)
{
    // Unregistration walks the table backwards, so children must be deleted first.
    const auto table = vxreg::ControlRegistryTable(Identity());
    std::set<std::string> seen;
    for (const auto& e : table) {
        const auto cut = e.key.rfind('\\');
        if (cut != std::string::npos && e.key.compare(0, 6, "CLSID\\") == 0 && cut > 6)
            EXPECT_TRUE(seen.count(e.key.substr(0, cut))) << e.key;
        if (e.ownsKey) seen.insert(e.key);
    }
}

TEST(RegistrationTable, NamesTheServerItsProgIdAndTypeLibrary)
{
    const auto table = vxreg::ControlRegistryTable(Identity());
    auto find = [&](const std::string& key, const std::string& name) -> const vxreg::RegistryEntry* {
        for (const auto& e : table)
            if (e.key == key && e.valueName == name && e.hasValue) return &e;
        return nullptr;
    };
    ASSERT_NE(nullptr, find("CLSID\\{CLSID}\\InprocServer32", ""));
    EXPECT_EQ("C:\\bin\\VXUNZIP.DLL", find("CLSID\\{CLSID}\\InprocServer32", "")->value);
    ASSERT_NE(nullptr, find("CLSID\\{CLSID}\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ("Apartment", find("CLSID\\{CLSID}\\InprocServer32", "ThreadingModel")->value);
    EXPECT_EQ("{LIBID}", find("CLSID\\{CLSID}\\TypeLib", "")->value);
    EXPECT_EQ("{CLSID}", find("VXUNZIPLibCtl.vxunzipctrl\\CLSID", "")->value);
    EXPECT_EQ("VXUNZIPLibCtl.vxunzipctrl", find("CLSID\\{CLSID}\\ProgID", "")->value);
    // The shared parents (CLSID itself) are never ours to delete.
    for (const auto& e : table) EXPECT_NE("CLSID", e.key);
}

} // namespace
