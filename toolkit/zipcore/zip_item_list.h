// Turns the zip control's item list into the files and folders to add, with the names they
// are stored under.
#pragma once

#include <string>
#include <vector>

#include "toolkit/zipcore/file_system.h"
#include "toolkit/zipcore/run_events.h"
#include "toolkit/zipcore/zip_result.h"

namespace zipcore {

struct ItemToAdd {
    std::string path;        // as the file system opens it
    std::string storedName;  // '/' separated; folders end with '/'
    FileStat stat;
};

struct ItemListRequest {
    std::string itemList;
    std::string baseFolder;
    bool recurse = false;
    // The archive's canonical path: neither it nor the files runs leave beside it are added,
    // whatever spelling names them.
    std::string archive;
};

// Fills items in list order without duplicates. A spec without wildcards that names nothing
// fails with ReadFailed; a wildcard that matches nothing is warned about (message 12).
ZipResult gatherItems(FileSystem& fs, const ItemListRequest& request, RunEvents& events,
                      std::vector<ItemToAdd>& items);

// Joins a folder and a name with the file system's separator.
std::string joinPath(const FileSystem& fs, const std::string& folder, const std::string& name);
bool isAbsolutePath(const std::string& path);

}  // namespace zipcore
