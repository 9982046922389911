#include "skerrit/removal/removal_paths.h"

#include <algorithm>

#include "common/lead_bytes.h"

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
    // Neither a dot nor a blank can be a trail byte.
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(c) && i + 1 < name.size()) {
            ++i;  // a trail byte may be '|' or '\\' and still be part of a name
            continue;
        }
        if (angle_brackets_allowed && (c == '<' || c == '>')) continue;
        if (IsReservedNameChar(c)) return false;
    }
    return true;
}

bool IsPlainName(std::string_view name) { return IsPlainComponent(name, false); }
bool IsPlainShortcutName(std::string_view name) { return IsPlainComponent(name, true); }

// Components separated by single backslashes, each a plain name.
bool AllPlainNames(std::string_view rest, bool (*plain)(std::string_view)) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= rest.size(); ++i) {
        if (i < rest.size() && IsLeadByte(static_cast<unsigned char>(rest[i])) && i + 1 < rest.size()) {
            ++i;
            continue;
        }
        if (i < rest.size() && rest[i] != '\\') continue;
        if (!plain(rest.substr(start, i - start))) return false;
        start = i + 1;
    }
    return true;
}

// Length of "\\server\share" at the start of `path`, 0 when it is not there.
std::size_t ShareRootLength(std::string_view path) {
    if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return 0;
    const std::size_t server_end = NextSeparator(path, 2);
    if (server_end == std::string_view::npos) return path.size();
    const std::size_t share_end = NextSeparator(path, server_end + 1);
    return share_end == std::string_view::npos ? path.size() : share_end;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool SameAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = (a[i] >= 'a' && a[i] <= 'z') ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
        const char y = (b[i] >= 'a' && b[i] <= 'z') ? static_cast<char>(b[i] - 'a' + 'A') : b[i];
        if (x != y) return false;
    }
    return true;
}

bool IsThisMachine(std::string_view server, std::string_view computer_name) {
    return SameAsciiNoCase(server, "localhost") || server == "127.0.0.1" ||
           SameAsciiNoCase(server, "0--1.ipv6-literal.net") ||
           (!computer_name.empty() && SameAsciiNoCase(server, computer_name));
}

// "X:" followed by the end or a backslash.
bool StartsWithDrive(std::string_view path) {
    return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':' &&
           (path.size() == 2 || path[2] == '\\');
}

}  // namespace

std::string LocalFormOfPath(std::string_view path, std::string_view computer_name) {
    std::string local(path);
    if (StartsWith(local, "\\\\?\\UNC\\")) local.erase(2, 6);
    else if ((StartsWith(local, "\\\\?\\") || StartsWith(local, "\\\\.\\")) &&
             StartsWithDrive(std::string_view(local).substr(4)))
        local.erase(0, 4);
    const std::size_t root = ShareRootLength(local);
    if (root == 0) return local;
    const std::size_t server_end = NextSeparator(local, 2);
    if (server_end == std::string::npos) return local;
    const std::string_view server = std::string_view(local).substr(2, server_end - 2);
    const std::string_view share = std::string_view(local).substr(server_end + 1, root - server_end - 1);
    if (!IsThisMachine(server, computer_name) || share.size() != 2 || !IsDriveLetter(share[0]) ||
        share[1] != '$')
        return local;
    std::string drive(1, share[0]);
    drive += ':';
    return drive + (root < local.size() ? local.substr(root) : std::string("\\"));
}

bool IsFullyQualifiedPath(std::string_view path) {
    if (path.empty() || path.size() > kMaxRemovalPathLength) return false;
    if (path.size() > 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return AllPlainNames(path.substr(3), IsPlainName);
    const std::size_t root = ShareRootLength(path);
    if (root == 0 || root == path.size()) return false;
    // Server and share are plain names too, which also refuses the device
    // namespaces "\\.\" and "\\?\".
    std::string_view server_and_share = path.substr(2, root - 2);
    const std::size_t slash = NextSeparator(server_and_share, 0);
    if (slash == std::string_view::npos) return false;
    if (!IsPlainName(server_and_share.substr(0, slash)) ||
        !IsPlainName(server_and_share.substr(slash + 1)))
        return false;
    return AllPlainNames(path.substr(root + 1), IsPlainName);
}

bool IsPlainShortcutPart(std::string_view part) {
    // A group may end with the backslash the item would otherwise add.
    if (part.size() > 1 && LastSeparator(part) == part.size() - 1) part.remove_suffix(1);
    return part.empty() || AllPlainNames(part, IsPlainShortcutName);
}

std::string FolderOfPath(std::string_view path) {
    const std::size_t slash = LastSeparator(path);
    if (slash == std::string_view::npos) return std::string();
    return std::string(path.substr(0, slash + 1));
}

std::string WithoutTrailingBackslash(std::string_view folder) {
    if (!folder.empty() && LastSeparator(folder) == folder.size() - 1) folder.remove_suffix(1);
    return std::string(folder);
}

bool MayRemoveFolder(std::string_view folder) {
    if (folder.size() <= 3 || folder.back() == ':') return false;
    const std::size_t share_root = ShareRootLength(folder);
    return share_root == 0 || share_root < folder.size();
}

std::string ParentFolderToTry(std::string_view folder) {
    const std::size_t slash = LastSeparator(folder);
    if (slash == std::string_view::npos) return std::string();
    const std::string_view parent = folder.substr(0, slash);
    return MayRemoveFolder(parent) ? std::string(parent) : std::string();
}
