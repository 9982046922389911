// Feeds arbitrary path text to the removal's path arithmetic, in a single-byte
// and a double-byte code page: every walk upward ends, each step keeps a
// prefix that ends on a character boundary, and the local form of a path is
// never longer than the path.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/lead_bytes.h"
#include "skerrit/removal/removal_paths.h"

namespace {

bool Cp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    UseLeadByteTest(data[0] & 1 ? Cp932LeadByte : nullptr);
    const std::string path(reinterpret_cast<const char*>(data) + 1, size - 1);

    if (LocalFormOfPath(path, "BOX").size() > path.size() + 1) __builtin_trap();
    const std::string folder = FolderOfPath(path);
    if (path.compare(0, folder.size(), folder) != 0) __builtin_trap();
    if (!folder.empty() && !EndsWithSeparator(folder)) __builtin_trap();
    if (IsFullyQualifiedPath(path) && folder.size() < 3) __builtin_trap();

    std::string walked = WithoutTrailingBackslash(folder);
    for (std::size_t steps = 0; MayRemoveFolder(walked); ++steps) {
        const std::string parent = ParentFolderToTry(walked);
        if (parent.size() >= walked.size() || steps > path.size()) __builtin_trap();
        if (!parent.empty() && LastSeparator(walked) != parent.size()) __builtin_trap();
        walked = parent;
    }
    UseLeadByteTest(nullptr);
    return 0;
}
