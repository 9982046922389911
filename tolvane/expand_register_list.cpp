#include "expand_register_list.h"

#include "result_code.h"

namespace tolvane {

long ExpandRegisterList(const ListValueReader& read, const ListValueWriter& write,
                        const MacroTable& table) {
    const int processed = WalkRegisterList(read, [&](const ListValue& value) {
        if (value.cut) return;
        const std::string expanded = ExpandPathMacros(value.text, table);
        // Written empty, the value would end the list there and silently drop
        // every later entry; written cut, it would name another file.
        if (expanded.empty() || expanded.size() > kListValueLimit) return;
        write(RegisterKeyName(value.number), expanded);
    });
    return processed > 0 ? kResultDone : kResultFailed;
}

}  // namespace tolvane
