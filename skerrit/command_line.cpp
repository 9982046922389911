#include "skerrit/command_line.h"

#include "common/command_scan.h"
#include "common/trim_blanks.h"

namespace {

const SwitchRule kSkerritSwitches[] = {
    {'I', false, 0},
    {'L', true, setting_limits::kPath},
    {'N', true, setting_limits::kPath},
    {'V', true, setting_limits::kPath},
    {'R', true, setting_limits::kParameterFile},
    {'Z', true, setting_limits::kNumber},
};

}  // namespace

void ParseCommandLine(std::string_view command_tail, RunSettings& settings) {
    for (ScannedSwitch& sw : ScanSwitches(command_tail, kSkerritSwitches)) {
        switch (sw.letter) {
            case 'I': settings.seen.I = true; break;
            case 'L':
                settings.seen.L = true;
                settings.log_path = std::move(sw.value);
                settings.log_path_cut = sw.cut;
                break;
            case 'N':
                settings.seen.N = true;
                settings.product_name = std::move(sw.value);
                break;
            case 'V':
                settings.seen.V = true;
                settings.version = std::move(sw.value);
                break;
            case 'R':
                settings.seen.R = true;
                settings.parameter_file = std::move(sw.value);
                settings.parameter_file_cut = sw.cut;
                break;
            case 'Z':
                settings.seen.Z = true;
                settings.topmost = TopmostFromSwitchValue(sw.value);
                break;
            default: break;
        }
    }
    TrimBlanks(settings.log_path);
    TrimBlanks(settings.version);
    TrimBlanks(settings.product_name);
    TrimBlanks(settings.parameter_file);
}
