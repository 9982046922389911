#include "common/lead_bytes.h"

#include <atomic>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

std::atomic<LeadByteTest> chosen_test{nullptr};

}  // namespace

void UseLeadByteTest(LeadByteTest test) { chosen_test = test; }

bool IsLeadByte(unsigned char byte) {
    if (const LeadByteTest test = chosen_test.load()) return test(byte);
#if defined(_WIN32)
    // Asked per byte of every path: a single-byte code page answers once.
    static const bool double_byte = [] {
        CPINFO info;
        return !GetCPInfo(CP_ACP, &info) || info.MaxCharSize > 1;
    }();
    return double_byte && IsDBCSLeadByte(byte) != FALSE;
#else
    return false;
#endif
}

std::size_t NextSeparator(std::string_view path, std::size_t from) {
    // Character boundaries are only known from the start of the text.
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) ++i;
        else if (path[i] == '\\' && i >= from) return i;
    }
    return std::string_view::npos;
}

bool EndsWithSeparator(std::string_view path) {
    return !path.empty() && LastSeparator(path) == path.size() - 1;
}

std::size_t SeparatorCount(std::string_view path) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) ++i;
        else if (path[i] == '\\') ++count;
    }
    return count;
}

std::size_t LastSeparator(std::string_view path) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) ++i;
        else if (path[i] == '\\') last = i;
    }
    return last;
}
