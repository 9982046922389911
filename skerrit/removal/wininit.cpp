#include "skerrit/removal/wininit.h"

namespace {

constexpr std::string_view kRenameHeader = "[rename]\r\n";

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::size_t FindRenameHeader(std::string_view content) {
    if (content.size() < kRenameHeader.size()) return std::string_view::npos;
    for (std::size_t at = 0; at + kRenameHeader.size() <= content.size(); ++at) {
        std::size_t i = 0;
        while (i < kRenameHeader.size() && FoldAscii(content[at + i]) == kRenameHeader[i]) ++i;
        if (i == kRenameHeader.size()) return at;
    }
    return std::string_view::npos;
}

std::string InsertWininitDeletion(std::string_view content, std::string_view short_path) {
    std::string line = "NUL=";
    line += short_path;
    line += "\r\n";
    std::string result;
    result.reserve(content.size() + line.size() + kRenameHeader.size());
    const std::size_t header = FindRenameHeader(content);
    if (header == std::string_view::npos) {
        result += kRenameHeader;
        result += line;
        result += content;
    } else {
        const std::size_t after_header = header + kRenameHeader.size();
        result += content.substr(0, after_header);
        result += line;
        result += content.substr(after_header);
    }
    return result;
}
