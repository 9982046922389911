#include "skerrit/removal/removal_paths.h"

#include <algorithm>

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Characters the file system refuses in a name, or reads as a stream
// separator or wildcard.
bool IsReservedNameChar(unsigned char c) {
    return c < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '/' || c == '|' ||
           c == '?' || c == '*';
}

// One plain name: the system drops trailing dots and blanks ("a.txt." opens
// "a.txt"), and "." and ".." step through folders. A shortcut's component may
// also hold the angle brackets of a shell-folder name.
bool IsPlainComponent(std::string_view name, bool angle_brackets_allowed) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    return std::none_of(name.begin(), name.end(), [&](char c) {
        if (angle_brackets_allowed && (c == '<' || c == '>')) return false;
        return IsReservedNameChar(static_cast<unsigned char>(c));
    });
}

bool IsPlainName(std::string_view name) { return IsPlainComponent(name, false); }
bool IsPlainShortcutName(std::string_view name) { return IsPlainComponent(name, true); }

// Components separated by single backslashes, each a plain name.
bool AllPlainNames(std::string_view rest, bool (*plain)(std::string_view)) {
    while (true) {
        const std::size_t slash = rest.find('\\');
        if (!plain(rest.substr(0, slash))) return false;
        if (slash == std::string_view::npos) return true;
        rest.remove_prefix(slash + 1);
    }
}

// Length of "\\server\share" at the start of `path`, 0 when it is not there.
std::size_t ShareRootLength(std::string_view path) {
    if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return 0;
    const std::size_t server_end = path.find('\\', 2);
    if (server_end == std::string_view::npos) return path.size();
    const std::size_t share_end = path.find('\\', server_end + 1);
    return share_end == std::string_view::npos ? path.size() : share_end;
}

}  // namespace

bool IsFullyQualifiedPath(std::string_view path) {
    if (path.empty() || path.size() > kMaxRemovalPathLength) return false;
    if (path.size() > 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return AllPlainNames(path.substr(3), IsPlainName);
    const std::size_t root = ShareRootLength(path);
    if (root == 0 || root == path.size()) return false;
    // Server and share are plain names too, which also refuses the device
    // namespaces "\\.\" and "\\?\".
    std::string_view server_and_share = path.substr(2, root - 2);
    const std::size_t slash = server_and_share.find('\\');
    if (slash == std::string_view::npos) return false;
    if (!IsPlainName(server_and_share.substr(0, slash)) ||
        !IsPlainName(server_and_share.substr(slash + 1)))
        return false;
    return AllPlainNames(path.substr(root + 1), IsPlainName);
}

bool IsPlainShortcutPart(std::string_view part) {
    // A group may end with the backslash the item would otherwise add.
    if (part.size() > 1 && part.back() == '\\') part.remove_suffix(1);
    return part.empty() || AllPlainNames(part, IsPlainShortcutName);
}

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
    if (folder.size() <= 3 || folder.back() == ':') return false;
    const std::size_t share_root = ShareRootLength(folder);
    return share_root == 0 || share_root < folder.size();
}

std::string ParentFolderToTry(std::string_view folder) {
    const std::size_t slash = folder.find_last_of('\\');
    if (slash == std::string_view::npos) return std::string();
    const std::string_view parent = folder.substr(0, slash);
    return MayRemoveFolder(parent) ? std::string(parent) : std::string();
}
