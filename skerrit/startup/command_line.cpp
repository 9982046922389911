#include "skerrit/startup/command_line.h"

#include <limits>
#include <string>

#include "common/command_scan.h"
#include "common/trim_blanks.h"

namespace {

// The two paths are scanned whole and cut here: only a cut that changes the
// trimmed path makes it another path. The blanks around a value (as in the
// uninstall entry's "/L <log> /N <name>") are not part of the path, so a
// path whose last character is kept stays usable.
constexpr std::size_t kWholeValue = std::numeric_limits<std::size_t>::max();

const SwitchRule kSkerritSwitches[] = {
    {'I', false, 0},
    {'L', true, kWholeValue, false, true},
    {'N', true, setting_limits::kPath, false, true},
    {'V', true, setting_limits::kPath},
    {'R', true, kWholeValue},
    {'Z', true, setting_limits::kNumber},
    {'S', false, 0, true},
    {'X', true, kWholeValue, true, true},
};

std::string Trimmed(std::string text) {
    TrimBlanks(text);
    return text;
}

// Keeps the first `limit` characters of `value`; true when the trimmed result
// is not the trimmed whole value.
bool KeepWithin(std::string& value, std::size_t limit) {
    if (value.size() <= limit) return false;
    const std::string whole = Trimmed(value);
    value.resize(limit);
    return Trimmed(value) != whole;
}

}  // namespace

void ParseCommandLine(std::string_view command_tail, RunSettings& settings) {
    for (ScannedSwitch& sw : ScanSwitches(command_tail, kSkerritSwitches)) {
        switch (sw.letter) {
            case 'I': settings.seen.I = true; break;
            case 'L':
                settings.seen.L = true;
                settings.log_path = std::move(sw.value);
                settings.log_path_cut = KeepWithin(settings.log_path, setting_limits::kPath);
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
                settings.parameter_file_cut = KeepWithin(settings.parameter_file, setting_limits::kParameterFile);
                break;
            case 'Z':
                settings.seen.Z = true;
                settings.topmost = TopmostFromSwitchValue(sw.value);
                break;
            case 'S': settings.seen.S = true; break;
            case 'X':
                settings.seen.X = true;
                settings.result_file = std::move(sw.value);
                if (KeepWithin(settings.result_file, setting_limits::kPath)) settings.result_file.clear();
                break;
            default: break;
        }
    }
    TrimBlanks(settings.log_path);
    TrimBlanks(settings.version);
    TrimBlanks(settings.product_name);
    TrimBlanks(settings.parameter_file);
    TrimBlanks(settings.result_file);
}
