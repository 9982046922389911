#include "common/special_folder.h"

#include "common/lead_bytes.h"

SpecialFolder FindSpecialFolder(std::string_view entry) {
    struct Name { const char* text; SpecialFolder folder; };
    static const Name kNames[] = {
        {"<Desktop>", SpecialFolder::Desktop},
        {"<SendTo>", SpecialFolder::SendTo},
        {"<Start>", SpecialFolder::StartMenu},
        {"<StartUp>", SpecialFolder::Startup},
    };
    for (const Name& name : kNames)
        if (entry.find(name.text) != std::string_view::npos) return name.folder;
    return SpecialFolder::Programs;
}

std::string ComposeSpecialFolderPath(std::string_view folder, std::string_view entry,
                                     SpecialFolder selected) {
    std::string_view rest = entry;
    if (selected != SpecialFolder::Programs) {
        const std::size_t slash = NextSeparator(entry, 0);
        if (slash == std::string_view::npos || slash + 1 == entry.size()) return std::string();
        rest = entry.substr(slash + 1);
    }
    std::string path(folder);
    path += '\\';
    path += rest;
    return path;
}
