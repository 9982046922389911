#pragma once
// What a path names, whatever its spelling: short (8.3) names, case, "\\?\"
// and "\\.\" forms, administrative shares of this machine, subst drives and,
// where Windows can tell, mapped drives and links. Folders are resolved once
// and cached, so a removal of many files asks the system once per folder.

#include <windows.h>

#include <map>
#include <string>

// A file or folder as the file system identifies it. Known only where the
// identity is reliable: a local fixed NTFS volume and a non-zero index.
struct FileIdentity {
    DWORD volume = 0;
    DWORD index_high = 0;
    DWORD index_low = 0;
    bool known = false;
    bool operator<(const FileIdentity& other) const {
        if (volume != other.volume) return volume < other.volume;
        if (index_high != other.index_high) return index_high < other.index_high;
        return index_low < other.index_low;
    }
};

struct NamedFolder {
    std::string key;            // long full path, case folded, no trailing backslash
    FileIdentity identity;
    bool through_link = false;  // the folder or one above it is a link or mount point
    bool exists = false;
};

class PathNames {
public:
    PathNames();
    // `folder` with or without a trailing backslash.
    const NamedFolder& Folder(const std::string& folder);
    // The key of a file: its folder's key and its long name, folded.
    std::string FileKey(const std::string& path);

private:
    NamedFolder Resolve(const std::string& folder);
    // `drive` ('A' to 'Z'): the folder is known to lie on that drive's
    // volume; 0: not known.
    FileIdentity IdentityOf(HANDLE handle, char drive);
    std::string computer_name_;
    // Serials of the drives A: to Z: once asked (0: not known).
    DWORD volume_serials_[26] = {};
    std::map<std::string, NamedFolder> folders_;  // by the spelling asked about, folded
    std::string last_spelling_;
    const NamedFolder* last_ = nullptr;
};

// The key of a file's own name: its long form, folded.
std::string FileNameKey(const std::string& path);

// Case folded as the system compares names.
std::string FoldedPath(std::string path);

// `key` lies strictly below the folder key `folder`.
bool IsKeyBelow(const std::string& key, const std::string& folder);
