// The manifest `wild_archives.py utf8` writes beside its archive: per item, the name every
// tool reads (UTF-8) and the item's data (hex, tab-separated).
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace ziptest {

struct NameManifestRow {
    std::string name, data;
};

inline std::string fromHex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(char(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

inline std::vector<NameManifestRow> readNameManifest(const std::string& text) {
    std::vector<NameManifestRow> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string name, data;
        std::getline(fields, name, '\t');
        std::getline(fields, data, '\t');
        rows.push_back(NameManifestRow{fromHex(name), fromHex(data)});
    }
    return rows;
}

}  // namespace ziptest
