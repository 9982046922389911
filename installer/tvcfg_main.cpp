// tvcfg: reads and edits the configuration block of an uninstaller executable.
#include <cstdio>
#include <string>
#include <vector>

#include "installer/config_tool.h"
#include "installer/tool_files_win.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string out;
    std::string err;
    const int code = RunConfigTool(args, WindowsToolFiles(), out, err);
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return code;
}
