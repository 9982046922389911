#include "toolkit/zipcore/code_page.h"

#include <atomic>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace zipcore {

namespace {

std::atomic<LeadByteTest> chosenTest{nullptr};

}  // namespace

void useLeadByteTest(LeadByteTest test) { chosenTest = test; }

bool isLeadByte(unsigned char byte) {
    if (const LeadByteTest test = chosenTest.load()) return test(byte);
#if defined(_WIN32)
    return IsDBCSLeadByte(byte) != FALSE;
#else
    return false;
#endif
}

std::string withForwardSlashes(std::string text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
        else if (text[i] == '\\') text[i] = '/';
    }
    return text;
}

std::string nameKey(const std::string& name, bool caseSensitive) {
    std::string key = name;
    for (size_t i = 0; i < key.size(); ++i) {
        char& c = key[i];
        if (isLeadByte(static_cast<unsigned char>(c)) && i + 1 < key.size()) ++i;
        else if (c == '\\') c = '/';
        else if (!caseSensitive && c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return key;
}

bool endsWithSeparator(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            if (++i == text.size() - 1) return false;  // the last byte trails a character
        } else if (i == text.size() - 1) {
            return text[i] == '/' || text[i] == '\\';
        }
    }
    return false;
}

}  // namespace zipcore
