// The registration list file through the system's profile functions.
#pragma once

#include <string>

namespace tolvane {

// The whole value of one key of section REGISTER (not cut, so the caller can
// tell a value over the limit); empty when the key or the file is missing.
std::string ReadListFileValue(const std::string& list_file, const std::string& key);

bool WriteListFileValue(const std::string& list_file, const std::string& key,
                        const std::string& value);

// Whether the list file starts with a byte-order mark (UTF-8 or UTF-16): the
// profile functions would read such a list as code-page text, and writing it
// back would turn every character outside the code page into "?".
bool ListFileIsUnicode(const std::string& list_file);

// Whether the list file exists and can be opened for writing now (not
// read-only, not held by another program without sharing).
bool ListFileIsWritable(const std::string& list_file);

}  // namespace tolvane
