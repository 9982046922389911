// Feeds arbitrary bytes as an archive to every unzip function, extracting into memory. An input
// holding the separator "|volume|" is a split set: the parts are a.z01, a.z02, ... and last
// a.zip.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "tests/zipcore/memory_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_engine.h"

namespace {

class Answering : public zipcore::RunEvents {
public:
    int32_t message(zipcore::MessageCode, const std::string&) override { return zipcore::ResponseYes; }
};

// Caps the volumes so that a set of thousands of empty ones costs no more than one archive.
constexpr size_t kMaxFuzzVolumes = 300;

void placeVolumes(ziptest::MemoryFileSystem& fs, const std::string& input) {
    static const std::string separator = "|volume|";
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t at; parts.size() + 1 < kMaxFuzzVolumes && (at = input.find(separator, from)) != std::string::npos;
         from = at + separator.size())
        parts.push_back(input.substr(from, at - from));
    parts.push_back(input.substr(from));
    for (size_t n = 1; n < parts.size(); ++n)
        fs.nodes[std::string("/in/a.z") + (n < 10 ? "0" : "") + std::to_string(n)].data = parts[n - 1];
    fs.nodes["/in/a.zip"].data = parts.back();
}

std::map<std::string, std::string> filesIn(const ziptest::MemoryFileSystem& fs) {
    std::map<std::string, std::string> out;
    for (const auto& node : fs.nodes)
        if (node.first.compare(0, 4, "/in/") == 0) out[node.first] = node.second.data;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zipcore;
    ziptest::MemoryFileSystem fs;
    placeVolumes(fs, std::string(reinterpret_cast<const char*>(data), size));
    fs.nodes["/in/new.txt"].data = "added item";
    fs.nodes["/out"].folder = true;
    const std::map<std::string, std::string> before = filesIn(fs);
    Answering events;
    UnzipOptions o;
    o.archivePath = "/in/a.zip";
    o.destination = "/out";
    o.decrypt = true;
    o.password = "pw";
    o.overwrite = true;
    o.charsToUnzip = 1000;
    o.index = size > 0 ? int32_t(data[0] % 8) - 1 : -1;
    for (int action = 1; action <= 9; ++action) runUnzip(fs, UnzipAction(action), o, events);
    o.lfToCrlf = true;
    o.noDirectoryNames = true;
    o.mangleLongNames = true;
    runUnzip(fs, UnzipAction::Extract, o, events);
    // Reading never changes the archive or its volumes.
    if (filesIn(fs) != before) __builtin_trap();
    // Updating the archive copies its items into a new one (split for odd first bytes); a
    // split set is refused and stays as it was.
    ZipAddOptions add;
    add.archivePath = "/in/a.zip";
    add.itemList = "/in/new.txt";
    if (size > 0 && (data[0] & 1)) add.volumeSize = kMinVolumeSize;
    if (runZipAdd(fs, add, events).code == ZipResult::Zip64Unsupported && filesIn(fs) != before) __builtin_trap();
    // Nothing may land outside the destination, nor under a name with a control character
    // (a UTF-8 name's characters the code page lacks show as one).
    for (const auto& node : fs.nodes) {
        const std::string& path = node.first;
        if (path.compare(0, 4, "/in/") != 0 && path.compare(0, 5, "/out/") != 0 && path != "/out") __builtin_trap();
        for (unsigned char c : path)
            if (c < 0x20) __builtin_trap();
    }
    return 0;
}
