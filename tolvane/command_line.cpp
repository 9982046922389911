#include "command_line.h"

#include "common/command_scan.h"
#include "common/trim_blanks.h"

namespace tolvane {
namespace {

const SwitchRule kSwitches[] = {
    {'F', true, kListPathLimit},
    {'R', true, kParameterPathLimit},
    {'O', true, kNumberValueLimit},
    {'I', false, 0},
    {'Z', true, kNumberValueLimit},
};

}  // namespace

CommandLineValues ParseCommandLine(std::string_view command_tail) {
    CommandLineValues values;
    for (ScannedSwitch& sw : ScanSwitches(command_tail, kSwitches)) {
        switch (sw.letter) {
            case 'F':
                values.list_file = std::move(sw.value);
                values.seen_f = true;
                break;
            case 'R':
                values.parameter_file = std::move(sw.value);
                values.seen_r = true;
                break;
            case 'O':
                values.operation = ParseSignedDecimal(sw.value);
                values.seen_o = true;
                break;
            case 'I':
                values.seen_i = true;
                break;
            case 'Z':
                values.topmost = TopmostFromSwitchValue(sw.value);
                values.seen_z = true;
                break;
            default:
                break;
        }
    }
    TrimBlanks(values.list_file);
    TrimBlanks(values.parameter_file);
    return values;
}

RunMode SelectRunMode(const CommandLineValues& values) {
    if (values.seen_o && values.seen_f) return RunMode::kRegistration;
    if (values.seen_i && values.seen_r && values.seen_f) return RunMode::kExpansion;
    return RunMode::kNothing;
}

}  // namespace tolvane
