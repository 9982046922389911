// Reading INI (profile) values whole, however long, so that a caller can tell a value over its
// limit instead of acting on a silently cut one.
#pragma once

#include <string>

// The whole value of one key; empty when the key, the section or the file is missing, or the
// file name is empty (the profile functions would take an empty name as win.ini).
std::string ReadWholeProfileValue(const std::string& file, const char* section, const std::string& key);
