#include "expand_register_list.h"

#include "result_code.h"

namespace tolvane {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string text) {
    for (char& c : text) c = LowerAscii(c);
    return text;
}

// Every "<" restarts the name being collected, so a macro is expanded exactly
// where its bracketed name appears as a substring.
bool NamesAnyOf(const std::string& value, const CutMacroNames& names) {
    if (names.empty()) return false;
    const std::string lowered = Lowered(value);
    for (const std::string& name : names) {
        if (lowered.find(Lowered(name)) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

long ExpandRegisterList(const ListValueReader& read, const ListValueWriter& write,
                        const MacroTable& table, const CutMacroNames& unusable_macros) {
    int written = 0;
    bool write_failed = false;
    WalkRegisterList(read, [&](const ListValue& value) {
        if (write_failed || value.cut || NamesAnyOf(value.text, unusable_macros)) return;
        const std::string expanded = ExpandPathMacros(value.text, table);
        // Written blank, the value would end the list there and silently drop
        // every later entry; written cut, it would name another file.
        if (expanded.find_first_not_of(' ') == std::string::npos || expanded.size() > kListValueLimit) return;
        if (write(RegisterKeyName(value.number), expanded)) {
            ++written;
        } else {
            write_failed = true;
        }
    });
    return written > 0 && !write_failed ? kResultDone : kResultFailed;
}

}  // namespace tolvane
