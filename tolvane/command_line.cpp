#include "command_line.h"

#include <iterator>

#include "common/command_scan.h"
#include "common/trim_blanks.h"

namespace tolvane {
namespace {

// Paths are scanned whole and cut here, so that blanks alone past the limit
// (the one before the next switch) do not count as a cut.
constexpr std::size_t kWhole = static_cast<std::size_t>(-1);

const SwitchRule kSwitches[] = {
    {'F', true, kWhole},
    {'R', true, kWhole},
    {'O', true, kNumberValueLimit},
    {'I', false, 0},
    {'Z', true, kNumberValueLimit},
    {'S', false, 0, true},
    {'P', true, kWhole, true},
    {'X', true, kWhole, true},
};

// Keeps the first `limit` characters; true when anything but blanks was
// dropped, which leaves the path unusable.
bool CutPath(std::string& value, std::size_t limit) {
    if (value.size() <= limit) return false;
    const bool cut = value.find_first_not_of(' ', limit) != std::string::npos;
    value.resize(limit);
    return cut;
}

void StorePath(std::string& value, std::size_t limit, std::string& path, bool& cut) {
    cut = CutPath(value, limit);
    path = cut ? std::string() : std::move(value);
}

// A slash followed by anything but a switch letter is skipped together with
// that character, so in "//O1" the second slash starts no switch. The shared
// scanner skips only the first slash; blanking the second one where this scan
// would skip it keeps the two in step.
std::string WithSkippedSlashPairsBlanked(std::string_view tail) {
    std::string text(tail);
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] != '/') {
            ++pos;
        } else if (pos + 1 >= text.size()) {
            break;
        } else if (SwitchRuleAt(text, pos, kSwitches, std::size(kSwitches)) != nullptr) {
            pos += 2;
            // A value runs to the next slash; /I's trailing text is skipped alike.
            while (pos < text.size() && text[pos] != '/') ++pos;
        } else {
            if (text[pos + 1] == '/') text[pos + 1] = ' ';
            pos += 2;
        }
    }
    return text;
}

}  // namespace

CommandLineValues ParseCommandLine(std::string_view command_tail) {
    CommandLineValues values;
    const std::string text = WithSkippedSlashPairsBlanked(command_tail);
    for (ScannedSwitch& sw : ScanSwitches(text, kSwitches)) {
        switch (sw.letter) {
            case 'F':
                StorePath(sw.value, kListPathLimit, values.list_file, values.list_file_cut);
                values.seen_f = true;
                break;
            case 'R':
                StorePath(sw.value, kParameterPathLimit, values.parameter_file, values.parameter_file_cut);
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
            case 'S':
                values.seen_s = true;
                break;
            case 'P': {
                bool cut = false;
                StorePath(sw.value, kListPathLimit, values.server_file, cut);
                break;
            }
            case 'X': {
                bool cut = false;
                StorePath(sw.value, kListPathLimit, values.result_file, cut);
                values.seen_x = true;
                break;
            }
            default:
                break;
        }
    }
    TrimBlanks(values.list_file);
    TrimBlanks(values.parameter_file);
    TrimBlanks(values.server_file);
    TrimBlanks(values.result_file);
    return values;
}

RunMode SelectRunMode(const CommandLineValues& values) {
    if (values.seen_o && values.seen_f) return RunMode::kRegistration;
    if (values.seen_i && values.seen_r && values.seen_f) return RunMode::kExpansion;
    return RunMode::kNothing;
}

}  // namespace tolvane
