// The configuration tool's commands over an uninstaller executable. File
// access is passed in so the whole command logic runs natively in tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct ToolFiles {
    std::function<bool(const std::string& path, std::vector<std::uint8_t>& bytes)> read;
    // Writes a complete new file and only then replaces `path` with it.
    std::function<bool(const std::string& path, const std::vector<std::uint8_t>& bytes)> replace;
};

// Exit codes: 0 done, 1 usage error, 2 refused input or a file error.
int RunConfigTool(const std::vector<std::string>& args, const ToolFiles& files, std::string& out,
                  std::string& err);

extern const char kConfigToolUsage[];
