#include "common/path_macros.h"

#include "common/lead_bytes.h"

#include <cstring>

namespace {

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

std::string WithSubfolder(const std::string& folder, const char* sub) {
    std::string path = folder;
    if (!EndsWithSeparator(path)) path += '\\';
    path += sub;
    return path;
}

MacroEntry Append(const char* name, std::string value, bool drop = false) {
    return MacroEntry{name, MacroAction::Append, std::move(value), drop};
}

MacroTable CommonTable(const MacroFolders& f, bool tolvane_backslashes) {
    const bool drop = tolvane_backslashes;
    return {
        Append("<Custom>", f.custom, drop),
        Append("<Exe>", f.exe, drop),
        Append("<Win>", f.windows, drop),
        Append("<WinTemp>", f.win_temp, true),
        Append("<Sys>", WithSubfolder(f.windows, "SYSTEM")),
        Append("<Sys32>", WithSubfolder(f.windows, "System32")),
        Append("<AutoSys>", f.system),
        Append("<TVTemp>", f.installer_temp),
    };
}

const MacroEntry* Lookup(const MacroTable& table, std::string_view name) {
    for (const MacroEntry& entry : table)
        if (EqualNoCase(entry.name, name)) return &entry;
    return nullptr;
}

}  // namespace

MacroTable SkerritMacroTable(const MacroFolders& folders) {
    MacroTable table = CommonTable(folders, false);
    table.push_back(Append("<CGroup>", folders.custom_group));
    for (const char* special : {"<Desktop>", "<SendTo>", "<Start>", "<StartUp>"})
        table.push_back(MacroEntry{special, MacroAction::PassThrough, {}, false});
    return table;
}

MacroTable TolvaneMacroTable(const MacroFolders& folders) {
    return CommonTable(folders, true);
}

std::string ExpandPathMacros(std::string_view source, const MacroTable& table) {
    std::string out;
    out.reserve(source.size());
    std::string name;
    bool collecting = false;
    for (char c : source) {
        if (c == '<') {
            name.assign(1, c);  // a second "<" restarts the name
            collecting = true;
        } else if (c == '>' && collecting) {
            name += c;
            collecting = false;
            const MacroEntry* entry = Lookup(table, name);
            if (entry == nullptr) continue;
            if (entry->action == MacroAction::PassThrough) {
                out += name;
                continue;
            }
            out += entry->value;
            if (entry->drop_trailing_backslash && EndsWithSeparator(out))
                out.pop_back();
        } else if (collecting) {
            if (name.size() - 1 < kMaxMacroNameRun) {
                name += c;
            } else {
                // Too long to be a macro name: it is ordinary text.
                out += name;
                out += c;
                collecting = false;
            }
        } else {
            out += c;
        }
    }
    return out;
}

bool ExpandPathMacros(char* out, std::size_t out_size, const char* source,
                      const MacroTable& table) {
    if (out == nullptr || out_size == 0 || source == nullptr || source[0] == '\0')
        return true;
    const std::string expanded = ExpandPathMacros(std::string_view(source), table);
    const std::size_t kept = expanded.size() < out_size ? expanded.size() : out_size - 1;
    std::memcpy(out, expanded.data(), kept);
    out[kept] = '\0';
    return kept == expanded.size();
}
