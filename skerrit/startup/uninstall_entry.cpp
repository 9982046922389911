#include "skerrit/startup/uninstall_entry.h"

const char kUninstallKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string UninstallDisplayName(const std::string& product_name, const std::string& version) {
    return product_name + " " + version;
}

std::string UninstallCommandLine(const std::string& executable, const std::string& log_path,
                                 const std::string& product_name) {
    return "\"" + executable + "\" /L " + log_path + " /N " + product_name + " /Z 1";
}

std::string QuietUninstallCommandLine(const std::string& uninstall_command_line) {
    return uninstall_command_line + " /S";
}

bool IsUsableEntryName(const std::string& product_name) {
    return !product_name.empty() && product_name.find('\\') == std::string::npos;
}
