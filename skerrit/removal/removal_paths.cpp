#include "skerrit/removal/removal_paths.h"

std::string FolderOfPath(std::string_view path) {
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string_view::npos) return std::string();
    return std::string(path.substr(0, slash + 1));
}

std::string WithoutTrailingBackslash(std::string_view folder) {
    if (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
    return std::string(folder);
}

bool MayRemoveFolder(std::string_view folder) {
    return folder.size() > 3 && folder.back() != ':';
}

std::string ParentFolderToTry(std::string_view folder) {
    const std::size_t slash = folder.find_last_of('\\');
    if (slash == std::string_view::npos) return std::string();
    const std::string_view parent = folder.substr(0, slash);
    return MayRemoveFolder(parent) ? std::string(parent) : std::string();
}
