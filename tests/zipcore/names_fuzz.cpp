// File-spec parsing and matching, and item-name checks, over arbitrary text.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/zipcore/entry_name.h"
#include "toolkit/zipcore/file_spec.h"
#include "toolkit/zipcore/name_coding.h"

namespace {

std::string withoutMarks(std::string text) {
    for (char& c : text)
        if (c == zipcore::kUnrepresentableChar) c = '?';
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zipcore;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t cut = text.find('\n');
    const std::string specList = text.substr(0, cut);
    const std::string raw = cut == std::string::npos ? text : text.substr(cut + 1);
    // Names reach these checks as the reader makes them: UTF-8, from any header bytes.
    const std::string name = size % 2 ? validUtf8Name(raw) : legacyItemName(raw, uint8_t(size % 7 == 0 ? 3 : 0));
    if (!isValidUtf8(withoutMarks(name))) __builtin_trap();
    const std::vector<std::string> specs = splitFileSpecs(specList);
    anySpecMatches(specs, name, true, false);
    anySpecMatches(specs, name, false, true);
    anySpecMatches(specs, raw, true, true);
    std::vector<std::string> parts;
    if (safeRelativeParts(name, parts)) {
        for (const std::string& p : parts)
            if (p.empty() || p == ".." || p.find_first_of("/\\:") != std::string::npos || p.back() == '.' ||
                p.back() == ' ' || p.find(kUnrepresentableChar) != std::string::npos)
                __builtin_trap();
    }
    const std::string stored = storedNameFor(name);
    if (!stored.empty() && stored[0] == '/') __builtin_trap();
    if (stored.size() > 1 && stored[1] == ':' && std::isalpha(static_cast<unsigned char>(stored[0])))
        __builtin_trap();
    if (("/" + stored + "/").find("/../") != std::string::npos) __builtin_trap();
    isShortName(name);
    return 0;
}
