// Arbitrary text through both macro tables: the buffer form must agree with
// the whole expansion, cut exactly at the buffer, also when expanding in place.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/path_macros.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::size_t out_size = 1 + data[0] % 96;
    std::string source(reinterpret_cast<const char*>(data) + 1, size - 1);
    source = source.substr(0, std::strlen(source.c_str()));  // C text ends at a NUL

    MacroFolders folders;
    folders.custom = "D:\\Custom\\";
    folders.custom_group = "Group";
    folders.exe = "C:\\Program Files\\App\\";
    folders.windows = "C:\\WINDOWS";
    folders.win_temp = "C:\\WINDOWS\\TEMP\\";
    folders.system = "C:\\WINDOWS\\SYSTEM32";
    folders.installer_temp = "C:\\TVTEMP";
    for (const MacroTable& table : {SkerritMacroTable(folders), TolvaneMacroTable(folders)}) {
        const std::string whole = ExpandPathMacros(source, table);
        std::vector<char> out(out_size, 'k');
        out[out_size - 1] = '\0';
        const bool complete = ExpandPathMacros(out.data(), out_size, source.c_str(), table);
        if (source.empty()) {
            if (!complete || std::strlen(out.data()) != out_size - 1) __builtin_trap();
            continue;
        }
        const std::string got(out.data());
        if (complete != (whole.size() < out_size)) __builtin_trap();
        if (got != whole.substr(0, out_size - 1)) __builtin_trap();

        std::vector<char> in_place(source.size() + whole.size() + 1, '\0');
        std::memcpy(in_place.data(), source.c_str(), source.size() + 1);
        ExpandPathMacros(in_place.data(), in_place.size(), in_place.data(), table);
        if (whole != in_place.data()) __builtin_trap();
    }
    return 0;
}
