// File specs as the controls take them: a blank-separated list, long names in double quotes,
// wildcards * and ? (case-insensitive unless told otherwise).
#pragma once

#include <string>
#include <vector>

namespace zipcore {

// Splits at blanks and tabs; "a b" is one pattern; an unclosed quote runs to the end.
std::vector<std::string> splitFileSpecs(const std::string& list);

// Wildcard match of one name against one pattern; * and ? never match '/'.
bool wildcardMatch(const std::string& pattern, const std::string& name, bool caseSensitive);

// Matches an archive item name (with '/' or '\\' separators) against one pattern. Without
// recurse the pattern must match the whole name; with recurse its folder part must match the
// leading folders and its last part any later name part ending the item name. A trailing '/'
// on directory items is ignored.
bool specMatchesItem(const std::string& spec, const std::string& itemName, bool recurse,
                     bool caseSensitive);

// True when any pattern of the list matches; an empty list matches everything.
bool anySpecMatches(const std::vector<std::string>& specs, const std::string& itemName,
                    bool recurse, bool caseSensitive);

}  // namespace zipcore
