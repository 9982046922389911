#pragma once
// Shared files: those whose full path is a value name under
// HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs. The count is
// neither read nor changed.

#include <set>
#include <string>

// One look-up, reading the key.
bool IsSharedFile(const char* path);

// The key's value names read once, for a removal of many files.
class SharedFileNames {
public:
    static SharedFileNames Load();
    bool Contains(const char* path) const;
    std::size_t size() const { return names_.size(); }

private:
    struct LessNoCase {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::set<std::string, LessNoCase> names_;
};
