#include "skerrit/startup/uninstall_entry.h"

const char kUninstallKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string UninstallDisplayName(const std::string& product_name, const std::string& version) {
    return product_name + " " + version;
}

std::string UninstallCommandLine(const std::string& executable, const std::string& log_path,
                                 const std::string& product_name) {
    return "\"" + executable + "\" /L " + log_path + " /N " + product_name + " /Z 1";
}

namespace {

// A value holding a double quote cannot be quoted; it stays as it is.
std::string Quoted(const std::string& value) {
    return value.find('"') == std::string::npos ? "\"" + value + "\"" : value;
}

}  // namespace

std::string QuietUninstallCommandLine(const std::string& executable, const std::string& log_path,
                                      const std::string& product_name) {
    return "\"" + executable + "\" /L " + Quoted(log_path) + " /N " + Quoted(product_name) + " /Z 1 /S";
}

bool IsUsableEntryName(const std::string& product_name) {
    return !product_name.empty() && product_name.find('\\') == std::string::npos;
}
