// Item names: the safe relative path an item may be written to, the name an added file is
// stored under, and the 8.3 test behind the long-name attribute.
#pragma once

#include <string>
#include <vector>

namespace zipcore {

// Splits an item name into the parts of a relative path. False (refused) when the name is
// absolute, has a drive or stream colon, climbs with "..", has a part of only dots and blanks,
// a control character or a device name (CON, NUL, COM1...). "." parts and empty parts are
// dropped; '\\' counts as a separator.
bool safeRelativeParts(const std::string& itemName, std::vector<std::string>& parts);

// The name a file path is stored under: '/' separators, no drive or UNC server/share, no
// leading separators, no "." or ".." parts.
std::string storedNameFor(const std::string& path);

// True when every part is a plain 8.3 name (base 1-8, optional extension 1-3, no blanks or
// characters outside the DOS set).
bool isShortName(const std::string& name);

}  // namespace zipcore
