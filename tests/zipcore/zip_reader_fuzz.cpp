// Feeds arbitrary bytes as an archive to every unzip function, extracting into memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/zipcore/memory_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_engine.h"

namespace {

class Answering : public zipcore::RunEvents {
public:
    int32_t message(zipcore::MessageCode, const std::string&) override { return zipcore::ResponseYes; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zipcore;
    ziptest::MemoryFileSystem fs;
    fs.nodes["/in/a.zip"].data.assign(reinterpret_cast<const char*>(data), size);
    fs.nodes["/out"].folder = true;
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
    // Updating the archive copies its items into a new one (split for odd first bytes).
    fs.nodes["/in/new.txt"].data = "added item";
    ZipAddOptions add;
    add.archivePath = "/in/a.zip";
    add.itemList = "/in/new.txt";
    if (size > 0 && (data[0] & 1)) add.volumeSize = kMinVolumeSize;
    runZipAdd(fs, add, events);
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
