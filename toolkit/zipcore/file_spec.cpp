#include "toolkit/zipcore/file_spec.h"

#include "toolkit/zipcore/name_coding.h"
#include "toolkit/zipcore/name_parts.h"

#include <cctype>

namespace zipcore {

namespace {

size_t charLength(const std::string& text, size_t at, size_t end) {
    const size_t n = utf8CharLength(&text[at], end - at);
    return n == 0 ? 1 : n;
}

// One path part against one pattern part, both folded already unless case counts; '?' takes
// one character. Keeps only the last star's
// position: linear backtracking, so hostile patterns cannot make it explode.
bool matchLiteral(const std::string& pattern, size_t p0, size_t p1, const std::string& name,
                  size_t n0, size_t n1) {
    size_t p = p0, n = n0;
    size_t starP = std::string::npos, starN = 0;
    while (n < n1) {
        if (p < p1 && pattern[p] == '?') {
            ++p;
            n += charLength(name, n, n1);
        } else if (p < p1 && pattern[p] != '*' && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (p < p1 && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            starN += charLength(name, starN, n1);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < p1 && pattern[p] == '*') ++p;
    return p == p1;
}

// The system's rules for long names: a pattern ending in ".*" also takes names without an
// extension ("*.*" is "*"), and one ending in a lone "." takes only names without a dot.
bool matchPart(const std::string& pattern, size_t p0, size_t p1, const std::string& name,
               size_t n0, size_t n1) {
    const size_t length = p1 - p0;
    if (length >= 2 && pattern[p1 - 2] == '.' && pattern[p1 - 1] == '*' &&
        matchLiteral(pattern, p0, p1 - 2, name, n0, n1))
        return true;
    if (length >= 2 && pattern[p1 - 1] == '.' && pattern[p1 - 2] != '.') {
        for (size_t i = n0; i < n1; ++i)
            if (name[i] == '.') return false;
        return matchLiteral(pattern, p0, p1 - 1, name, n0, n1);
    }
    return matchLiteral(pattern, p0, p1, name, n0, n1);
}

struct Part {
    size_t begin, end;
};

std::vector<Part> splitParts(const std::string& s) {
    std::vector<Part> parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == '/') {
            parts.push_back({start, i});
            start = i + 1;
        }
    }
    return parts;
}

std::string normalise(const std::string& s) {
    std::string out = withForwardSlashes(s);
    while (!out.empty() && out.back() == '/') out.pop_back();
    return out;
}

}  // namespace

std::vector<std::string> splitFileSpecs(const std::string& list) {
    std::vector<std::string> specs;
    size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && (list[i] == ' ' || list[i] == '\t')) ++i;
        if (i >= list.size()) break;
        std::string spec;
        bool quoted = false;
        for (; i < list.size(); ++i) {
            const char c = list[i];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && (c == ' ' || c == '\t')) {
                break;
            } else {
                spec.push_back(c);
            }
        }
        if (!spec.empty()) specs.push_back(std::move(spec));
    }
    return specs;
}

bool wildcardMatch(const std::string& patternText, const std::string& nameText, bool caseSensitive) {
    const std::string pattern = caseSensitive ? patternText : foldCase(patternText);
    const std::string name = caseSensitive ? nameText : foldCase(nameText);
    const std::vector<Part> pp = splitParts(pattern), np = splitParts(name);
    if (pp.size() != np.size()) return false;
    for (size_t i = 0; i < pp.size(); ++i)
        if (!matchPart(pattern, pp[i].begin, pp[i].end, name, np[i].begin, np[i].end))
            return false;
    return true;
}

bool specMatchesItem(const std::string& spec, const std::string& itemName, bool recurse,
                     bool caseSensitive) {
    const std::string s = caseSensitive ? normalise(spec) : foldCase(normalise(spec));
    const std::string n = caseSensitive ? normalise(itemName) : foldCase(normalise(itemName));
    if (s.empty()) return false;
    const std::vector<Part> sp = splitParts(s), np = splitParts(n);
    if (!recurse || sp.size() == np.size()) {
        if (sp.size() != np.size()) return false;
        for (size_t i = 0; i < sp.size(); ++i)
            if (!matchPart(s, sp[i].begin, sp[i].end, n, np[i].begin, np[i].end)) return false;
        return true;
    }
    if (np.size() < sp.size()) return false;
    for (size_t i = 0; i + 1 < sp.size(); ++i)
        if (!matchPart(s, sp[i].begin, sp[i].end, n, np[i].begin, np[i].end)) return false;
    const Part& last = sp.back();
    const Part& item = np.back();
    return matchPart(s, last.begin, last.end, n, item.begin, item.end);
}

bool anySpecMatches(const std::vector<std::string>& specs, const std::string& itemName,
                    bool recurse, bool caseSensitive) {
    if (specs.empty()) return true;
    for (const std::string& spec : specs)
        if (specMatchesItem(spec, itemName, recurse, caseSensitive)) return true;
    return false;
}

}  // namespace zipcore
