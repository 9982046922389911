#include "skerrit/startup/uninstall_entry_win.h"

#include <windows.h>

#include "common/scoped_handles_win.h"
#include "skerrit/startup/uninstall_entry.h"

namespace {

bool SetStringValue(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace

long RegisterUninstallEntry(const UninstallEntry& entry) {
    if (!IsUsableEntryName(entry.product_name)) return 2;
    ScopedKey uninstall;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, KEY_CREATE_SUB_KEY | KEY_SET_VALUE,
                      uninstall.out()) != ERROR_SUCCESS) {
        return 2;
    }
    ScopedKey product;
    if (RegCreateKeyExA(uninstall.get(), entry.product_name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, product.out(), nullptr) != ERROR_SUCCESS) {
        return 2;
    }
    if (!SetStringValue(product.get(), "DisplayName",
                        UninstallDisplayName(entry.product_name, entry.version))) {
        return 2;
    }
    const std::string command = UninstallCommandLine(entry.executable, entry.log_path, entry.product_name);
    if (!SetStringValue(product.get(), "UninstallString", command)) return 2;
    return SetStringValue(product.get(), "QuietUninstallString", 
                          QuietUninstallCommandLine(entry.executable, entry.log_path, entry.product_name)) &&
                   SetStringValue(product.get(), "DisplayVersion", entry.version)
               ? 1
               : 2;
}

long RemoveUninstallEntry(const std::string& product_name) {
    if (!IsUsableEntryName(product_name)) return 2;
    ScopedKey uninstall;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, KEY_ALL_ACCESS, uninstall.out()) !=
        ERROR_SUCCESS) {
        return 2;
    }
    return RegDeleteKeyA(uninstall.get(), product_name.c_str()) == ERROR_SUCCESS ? 1 : 2;
}
