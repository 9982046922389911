#include "command_scan.h"

#include <cstdint>

namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

const SwitchRule* FindRule(char letter, const SwitchRule* rules, std::size_t count) {
    const char wanted = UpperAscii(letter);
    for (std::size_t i = 0; i < count; ++i) {
        if (UpperAscii(rules[i].letter) == wanted) return &rules[i];
    }
    return nullptr;
}

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool EndsStandalone(std::string_view tail, std::size_t after) {
    return after >= tail.size() || tail[after] == ' ' || tail[after] == '\t' || tail[after] == '/';
}

// A value that starts (after blanks) with a double quote and has a closing one
// is the text between them, slashes included; `pos` moves past the closing
// quote. Null data when the value is not quoted (`pos` unchanged).
std::string_view QuotedValueAt(std::string_view tail, std::size_t& pos) {
    std::size_t open = pos;
    while (open < tail.size() && (tail[open] == ' ' || tail[open] == '\t')) ++open;
    if (open >= tail.size() || tail[open] != '"') return std::string_view();
    const std::size_t close = tail.find('"', open + 1);
    if (close == std::string_view::npos) return std::string_view();
    pos = close + 1;
    return tail.substr(open + 1, close - open - 1);
}

}  // namespace

const SwitchRule* SwitchRuleAt(std::string_view tail, std::size_t pos, const SwitchRule* rules,
                               std::size_t rule_count) {
    if (pos + 1 >= tail.size() || tail[pos] != '/' || !IsAsciiLetter(tail[pos + 1])) return nullptr;
    const SwitchRule* rule = FindRule(tail[pos + 1], rules, rule_count);
    if (rule != nullptr && rule->standalone && !EndsStandalone(tail, pos + 2)) return nullptr;
    return rule;
}

std::vector<ScannedSwitch> ScanSwitches(std::string_view tail,
                                        const SwitchRule* rules,
                                        std::size_t rule_count) {
    std::vector<ScannedSwitch> found;
    std::size_t pos = 0;
    while (pos < tail.size()) {
        const SwitchRule* rule = SwitchRuleAt(tail, pos, rules, rule_count);
        if (rule == nullptr) {
            ++pos;  // the letter is then skipped as an ordinary character
            continue;
        }
        ScannedSwitch sw{UpperAscii(rule->letter), std::string()};
        pos += 2;
        if (rule->takes_value) {
            std::string_view value = rule->quotable ? QuotedValueAt(tail, pos) : std::string_view();
            if (value.data() == nullptr) {
                const std::size_t start = pos;
                while (pos < tail.size() && tail[pos] != '/') ++pos;
                value = tail.substr(start, pos - start);
            }
            if (value.size() > rule->value_limit) {
                value = value.substr(0, rule->value_limit);
                sw.cut = true;
            }
            sw.value.assign(value.data(), value.size());
        }
        found.push_back(std::move(sw));
    }
    return found;
}

long ParseSignedDecimal(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsCSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Accumulate as a magnitude with a cap so that long digit runs cannot overflow.
    const std::int64_t cap = static_cast<std::int64_t>(INT32_MAX) + 1;
    std::int64_t magnitude = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > cap) magnitude = cap;
        ++pos;
    }
    if (negative) return static_cast<long>(-magnitude);
    return static_cast<long>(magnitude > INT32_MAX ? INT32_MAX : magnitude);
}

int TopmostFromSwitchValue(std::string_view text) {
    return ParseSignedDecimal(text) == 1 ? 1 : 0;
}
