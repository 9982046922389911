// Registration list values come from the installer's list file: the input is
// split at newlines into REG1, REG2, ... and run through the key walk, the
// expansion and the per-value tests.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "tolvane/expand_register_list.h"
#include "tolvane/register_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::map<std::string, std::string> section;
    const std::string text(reinterpret_cast<const char*>(data), size);
    int number = 1;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        section[tolvane::RegisterKeyName(number++)] = text.substr(start, end - start);
        start = end + 1;
    }
    MacroFolders folders;
    folders.exe = "C:\\App\\";
    folders.windows = "C:\\WINDOWS";
    folders.system = "C:\\WINDOWS\\system32";
    folders.win_temp = "C:\\TEMP\\";
    auto read = [&](const std::string& key) {
        auto found = section.find(key);
        return found == section.end() ? std::string() : found->second;
    };
    // With the program folder marked cut, no value naming it is rewritten.
    auto names_exe = [](std::string value) {
        for (char& c : value) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        return value.find("<exe>") != std::string::npos;
    };
    tolvane::ExpandRegisterList(
        read,
        [&](const std::string& key, const std::string&) {
            if (names_exe(section[key])) __builtin_trap();
            return true;
        },
        TolvaneMacroTable(folders), {"<Exe>"});
    tolvane::ExpandRegisterList(
        read,
        [&](const std::string& key, const std::string& value) {
            if (value.size() > tolvane::kListValueLimit) __builtin_trap();
            if (value.find_first_not_of(' ') == std::string::npos) __builtin_trap();
            section[key] = value;
            return true;
        },
        TolvaneMacroTable(folders));
    tolvane::WalkRegisterList(read, [](const tolvane::ListValue& v) {
        if (v.text.size() > tolvane::kListValueLimit) __builtin_trap();
        (void)tolvane::IsTypeLibraryName(v.text);
        if (tolvane::ServerFolderOf(v.text).size() > v.text.size()) __builtin_trap();
        if (tolvane::HelpFolderOf(v.text).size() > v.text.size()) __builtin_trap();
    });
    return 0;
}
