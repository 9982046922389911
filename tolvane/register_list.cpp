#include "register_list.h"

#include <climits>

namespace tolvane {

std::string RegisterKeyName(int number) {
    return "REG" + std::to_string(number);
}

int WalkRegisterList(const ListValueReader& read, const ListValueVisitor& visit) {
    int visited = 0;
    for (int number = 1; number < INT_MAX; ++number) {
        std::string full = read(RegisterKeyName(number));
        if (full.empty()) break;
        ListValue value;
        value.number = number;
        value.cut = full.size() > kListValueLimit;
        if (value.cut) full.resize(kListValueLimit);
        value.text = std::move(full);
        visit(value);
        ++visited;
    }
    return visited;
}

bool IsTypeLibraryName(std::string_view path) {
    if (path.size() < 3) return false;
    std::string_view tail = path.substr(path.size() - 3);
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(tail[0]) == 't' && lower(tail[1]) == 'l' && lower(tail[2]) == 'b';
}

std::string ServerFolderOf(std::string_view path) {
    std::string folder;
    std::string_view rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
        folder.assign(rest.substr(0, 2));
        rest.remove_prefix(2);
    }
    const std::size_t last = rest.find_last_of("\\/");
    if (last != std::string_view::npos) folder.append(rest.substr(0, last + 1));
    // A root folder keeps its backslash: "C:" alone would name the drive's
    // current folder, not its root.
    const bool is_root = folder == "\\" || (folder.size() == 3 && folder[1] == ':' && folder[2] == '\\');
    if (!is_root && !folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string HelpFolderOf(std::string_view path) {
    const std::size_t last = path.rfind('\\');
    if (last == std::string_view::npos || last == 0) return std::string();
    return std::string(path.substr(0, last));
}

}  // namespace tolvane
