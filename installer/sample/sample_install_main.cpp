// tvsample: installs the sample product as the installer would.
#include <windows.h>

#include <cstdio>
#include <string>

#include "installer/sample/sample_install_win.h"

namespace {

// The command line after the program name (quoted or not).
const char* CommandTail(const char* line) {
    if (*line == '"') {
        ++line;
        while (*line != '\0' && *line != '"') ++line;
        if (*line == '"') ++line;
    } else {
        while (*line != '\0' && *line != ' ' && *line != '\t') ++line;
    }
    return line;
}

}  // namespace

int main() {
    SampleOptions options;
    std::string error;
    if (!ParseSampleCommandLine(CommandTail(GetCommandLineA()), options, error)) {
        std::fprintf(stderr, "tvsample: %s\n", error.c_str());
        std::fprintf(stderr,
                     "usage: tvsample [/N product] [/V version] [/G group] [/D folder] [/S shared folder] [/T]\n");
        return 2;
    }
    const int result = RunSampleInstall(options, stdout);
    std::fflush(stdout);
    return result;
}
