// The registration list: section REGISTER of an INI file, keys REG1, REG2, ...
// up to the first key whose value is missing or empty.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tolvane {

// A list value holds at most this many characters; a longer value is cut and
// a cut value is never acted on.
constexpr std::size_t kListValueLimit = 519;

std::string RegisterKeyName(int number);  // "REG" + decimal number

struct ListValue {
    int number = 0;      // key number, from 1
    std::string text;    // at most kListValueLimit characters
    bool cut = false;    // the stored value was longer than the limit
};

// Reads the full value of one key; empty when the key is missing.
using ListValueReader = std::function<std::string(const std::string& key)>;
using ListValueVisitor = std::function<void(const ListValue& value)>;

// Visits REG1, REG2, ... in key order and stops at the first missing or empty
// value. Returns the number of values visited.
int WalkRegisterList(const ListValueReader& read, const ListValueVisitor& visit);

// A name whose last three characters are "tlb", in any case, is a type
// library; anything else, shorter names included, is a COM server file.
bool IsTypeLibraryName(std::string_view path);

// Drive and directory of a path (up to the last backslash or slash), with one
// trailing backslash removed (a root keeps it): the folder a server file is
// registered from.
std::string ServerFolderOf(std::string_view path);

// Path up to its last backslash; empty when there is none or it is the first
// character. Handed to the type-library registration as the help folder.
std::string HelpFolderOf(std::string_view path);

}  // namespace tolvane
