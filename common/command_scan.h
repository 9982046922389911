// Switch scanning shared by the installer-side programs.
//
// The command tail (the text after the program name) is scanned left to right
// for a slash followed by one letter. A slash followed by a letter the program
// does not know, and any other character, is skipped. A switch that takes a
// value reads it from the character after its letter up to the next slash or
// the end of the text; only the first `value_limit` characters are kept, the
// rest is read and dropped. For a rule that allows it, a value in double
// quotes (blanks may precede the opening one) is the text between the quotes,
// slashes included: the form the uninstall entry's quiet command writes, so
// that a command shell leaves `& ^ ( )` in a name alone. Elsewhere quotation
// marks are part of the value. Values are returned untrimmed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct SwitchRule {
    char letter;              // upper case; matching ignores case
    bool takes_value;
    std::size_t value_limit;  // characters kept of the value
    // Recognised only when the letter is followed by the end, a blank or a
    // slash. For a switch added later: a value written with forward slashes
    // ("Client/Server") must keep reading as it did before the switch existed.
    bool standalone = false;
    bool quotable = false;    // a value in double quotes is the text between them
};

struct ScannedSwitch {
    char letter;              // upper case, as in the matching rule
    std::string value;        // empty for switches without a value
    bool cut = false;         // the value was longer than its limit; never act
                              // on a cut path, it can name another file
};

// Every recognised switch in command-line order (a repeated switch appears
// twice; the caller's last assignment wins).
std::vector<ScannedSwitch> ScanSwitches(std::string_view command_tail,
                                        const SwitchRule* rules,
                                        std::size_t rule_count);

template <std::size_t N>
std::vector<ScannedSwitch> ScanSwitches(std::string_view command_tail,
                                        const SwitchRule (&rules)[N]) {
    return ScanSwitches(command_tail, rules, N);
}

// The rule that a slash at `slash_pos` starts, or null when the scanner skips
// that slash.
const SwitchRule* SwitchRuleAt(std::string_view command_tail, std::size_t slash_pos,
                               const SwitchRule* rules, std::size_t rule_count);

// Signed decimal conversion in the manner of atol: leading white space is
// skipped, an optional sign is taken, conversion stops at the first non-digit.
// Out-of-range values saturate at the 32-bit limits instead of overflowing.
long ParseSignedDecimal(std::string_view text);

// The /Z rule of both programs: 1 means topmost, anything else (including
// values below 0 or above 1) is 0.
int TopmostFromSwitchValue(std::string_view text);
