// The manifest `wild_archives.py utf8` writes beside its archive: per item, the name as the
// engine shows it in code page 1252 and in Latin-1, and the item's data (hex, tab-separated).
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "toolkit/zipcore/ansi_names.h"

namespace ziptest {

struct NameManifestRow {
    std::string cp1252, latin1, data;
    bool representable() const { return cp1252.find(zipcore::kUnrepresentableChar) == std::string::npos; }
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
        std::string cp1252, latin1, data;
        std::getline(fields, cp1252, '\t');
        std::getline(fields, latin1, '\t');
        std::getline(fields, data, '\t');
        rows.push_back(NameManifestRow{fromHex(cp1252), fromHex(latin1), fromHex(data)});
    }
    return rows;
}

}  // namespace ziptest
