// Command lines come from whoever starts the program.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tolvane/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view tail(reinterpret_cast<const char*>(data), size);
    const tolvane::CommandLineValues v = tolvane::ParseCommandLine(tail);
    if (v.list_file.size() > tolvane::kListPathLimit) __builtin_trap();
    if (v.list_file_cut && !v.list_file.empty()) __builtin_trap();
    if (v.parameter_file.size() > tolvane::kParameterPathLimit) __builtin_trap();
    if (v.topmost != 0 && v.topmost != 1) __builtin_trap();
    if (!v.list_file.empty() && (v.list_file.front() == ' ' || v.list_file.back() == ' ')) __builtin_trap();
    (void)tolvane::SelectRunMode(v);
    return 0;
}
