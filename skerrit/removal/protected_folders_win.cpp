#include "skerrit/removal/protected_folders_win.h"

#include "skerrit/removal/machine_folders_win.h"

ProtectedFolders ProtectedFolders::OfThisMachine(PathNames& names) {
    ProtectedFolders result;
    for (const std::string& folder : ProtectedFolderPaths()) result.Add(folder, names);
    return result;
}

ProtectedFolders ProtectedFolders::OfThisMachine() {
    PathNames names;
    return OfThisMachine(names);
}

void ProtectedFolders::Add(const std::string& folder, PathNames& names) {
    if (folder.empty()) return;
    const NamedFolder& named = names.Folder(folder);
    keys_.insert(named.key);
    if (named.identity.known) identities_.insert(named.identity);
}

void ProtectedFolders::Add(const std::string& folder) {
    PathNames names;
    Add(folder, names);
}

bool ProtectedFolders::Contains(const std::string& folder, PathNames& names) const {
    const NamedFolder& named = names.Folder(folder);
    return keys_.count(named.key) > 0 || (named.identity.known && identities_.count(named.identity) > 0);
}

bool ProtectedFolders::Contains(const std::string& folder) const {
    PathNames names;
    return Contains(folder, names);
}
