// Texts of the uninstall entry written under
// HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\<product name>.
#pragma once

#include <string>

extern const char kUninstallKeyPath[];

// "<name> <version>"
std::string UninstallDisplayName(const std::string& product_name, const std::string& version);
// "\"<exe>\" /L <log> /N <name> /Z 1": what Windows' program removal runs later.
std::string UninstallCommandLine(const std::string& executable, const std::string& log_path,
                                 const std::string& product_name);
// The same command with " /S", the log path and the name in double quotes:
// what deployment tools run for a removal without any window, also through
// `cmd /c "<command>"`, where an unquoted `&`, `^`, `(` or `)` in a name would
// split or change the command.
std::string QuietUninstallCommandLine(const std::string& executable, const std::string& log_path,
                                      const std::string& product_name);
// An empty name would address the Uninstall key itself and a backslash a
// nested key that program removal never lists; neither is a usable entry.
bool IsUsableEntryName(const std::string& product_name);
