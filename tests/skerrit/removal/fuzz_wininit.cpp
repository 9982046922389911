// Arbitrary wininit content: the rewrite must keep every byte and add
// exactly one deletion line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skerrit/removal/wininit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    const std::string line = "NUL=C:\\WINDOWS\\TEMP\\SKER1A85.EXE\r\n";
    const std::string result = InsertWininitDeletion(content, "C:\\WINDOWS\\TEMP\\SKER1A85.EXE");
    const std::size_t header = FindRenameHeader(content);
    std::string expected;
    if (header == std::string::npos) {
        expected = "[rename]\r\n" + line + content;
    } else {
        if (header + 10 > content.size()) __builtin_trap();
        expected = content;
        expected.insert(header + 10, line);
    }
    if (result != expected) __builtin_trap();
    return 0;
}
