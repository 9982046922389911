#include "skerrit/startup/command_line.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Any command tail: values stay within their limits, carry no outer blanks,
// and a path is either whole or marked cut.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view tail(reinterpret_cast<const char*>(data), size);
    RunSettings settings;
    ParseCommandLine(tail, settings);
    for (const std::string* text : {&settings.log_path, &settings.parameter_file, &settings.product_name,
                                    &settings.version}) {
        if (!text->empty() && (text->front() == ' ' || text->back() == ' ')) __builtin_trap();
    }
    if (settings.log_path.size() > setting_limits::kPath) __builtin_trap();
    if (settings.parameter_file.size() > setting_limits::kParameterFile) __builtin_trap();
    if (settings.product_name.size() > setting_limits::kPath) __builtin_trap();
    if (settings.version.size() > setting_limits::kPath) __builtin_trap();
    if (settings.topmost != 0 && settings.topmost != 1) __builtin_trap();
    // A path is only cut when the tail held more than the limit.
    if (settings.log_path_cut && size <= setting_limits::kPath) __builtin_trap();
    if (settings.parameter_file_cut && size <= setting_limits::kParameterFile) __builtin_trap();
    return 0;
}
