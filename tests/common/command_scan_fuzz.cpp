#include "common/command_scan.h"
#include "common/trim_blanks.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const SwitchRule rules[] = {
        {'I', false, 0}, {'L', true, 259, false, true}, {'N', true, 259, false, true}, {'V', true, 259},
        {'R', true, 779}, {'Z', true, 31}, {'F', true, 259}, {'O', true, 31},
    };
    const std::string tail(reinterpret_cast<const char*>(data), size);
    for (ScannedSwitch& sw : ScanSwitches(tail, rules)) {
        std::size_t limit = 0;
        for (const SwitchRule& rule : rules) {
            if (rule.letter == sw.letter) limit = rule.value_limit;
        }
        if (sw.value.size() > limit) std::abort();
        // Only a value in double quotes holds a slash, and then it is the quoted text (or its start).
        if (sw.value.find('/') != std::string::npos &&
            tail.find('"' + sw.value + (sw.cut ? "" : "\"")) == std::string::npos)
            std::abort();
        TrimBlanks(sw.value);
        if (!sw.value.empty() && (sw.value.front() == ' ' || sw.value.back() == ' ')) std::abort();
        (void)ParseSignedDecimal(sw.value);
    }
    return 0;
}
