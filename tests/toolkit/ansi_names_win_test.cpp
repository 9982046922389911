// The controls' UTF-8 name conversion against the system's own code page: a name converts
// exactly when every character has a byte form that decodes back to it, and what it gives
// decodes back to the name (never a best-fit or default character).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "toolkit/zipcore/ansi_names.h"

namespace {

std::string Utf8(wchar_t c) {
    char bytes[8] = {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, &c, 1, bytes, sizeof(bytes), nullptr, nullptr);
    return std::string(bytes, n > 0 ? size_t(n) : 0);
}

std::wstring DecodeAnsi(const std::string& ansi) {
    if (ansi.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), nullptr, 0);
    if (n <= 0) return L"<undecodable>";
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), &wide[0], n);
    return wide;
}

// Every character some byte sequence of the code page decodes to as the system's ANSI file
// functions decode it, found by decoding (the direction the conversion under test does not
// use): single bytes, and lead-trail pairs.
std::set<wchar_t> DecodableCharacters() {
    std::set<wchar_t> found;
    CPINFO info = {};
    GetCPInfo(CP_ACP, &info);
    auto take = [&](const char* bytes, int n) {
        wchar_t out[4] = {};
        if (MultiByteToWideChar(CP_ACP, 0, bytes, n, out, 4) == 1) found.insert(out[0]);
    };
    for (int b = 1; b < 256; ++b) {
        const char one[1] = {char(b)};
        if (IsDBCSLeadByte(BYTE(b))) {
            for (int t = 1; t < 256; ++t) {
                const char two[2] = {char(b), char(t)};
                take(two, 2);
            }
        } else {
            take(one, 1);
        }
    }
    return found;
}

TEST(AnsiNamesWin, EveryCharacterConvertsExactlyWhenTheCodePageHasIt) {
    std::printf("ANSI code page %u\n", GetACP());
    const std::set<wchar_t> decodable = DecodableCharacters();
    ASSERT_GT(decodable.size(), 100u) << "code page " << GetACP();
    int converted = 0;
    for (unsigned c = 1; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const wchar_t ch = wchar_t(c);
        const std::string name = "a" + Utf8(ch) + ".txt";
        std::string ansi = "left over";
        const bool ok = zipcore::utf8ToAnsi(name, ansi);
        const bool expected = decodable.count(ch) != 0;
        ASSERT_EQ(ok, expected) << "U+" << std::hex << c << " in code page " << std::dec << GetACP();
        if (ok) {
            ASSERT_EQ(DecodeAnsi(ansi), std::wstring(L"a") + ch + L".txt") << "U+" << std::hex << c;
            ++converted;
        }
    }
    EXPECT_EQ(size_t(converted), decodable.size());
}

TEST(AnsiNamesWin, InvalidUtf8AndLookAlikesAreRefused) {
    std::string ansi;
    // Overlong '/', a lone continuation byte, an encoded surrogate, a cut sequence.
    for (const char* bad : {"a\xC0\xAF" "b", "a\x80", "\xED\xA0\x80.txt", "name\xE2\x82"}) {
        EXPECT_FALSE(zipcore::utf8ToAnsi(bad, ansi)) << bad;
    }
    // Characters a best-fit table maps onto separators, dots or plain letters.
    for (const wchar_t lookAlike : {L'\xFF0F', L'\x2215', L'\xFF3C', L'\xFF0E', L'\xFF41'}) {
        if (DecodableCharacters().count(lookAlike)) continue;
        EXPECT_FALSE(zipcore::utf8ToAnsi("x" + Utf8(lookAlike) + "y", ansi)) << std::hex << unsigned(lookAlike);
    }
    ASSERT_TRUE(zipcore::utf8ToAnsi("", ansi));
    EXPECT_EQ(ansi, "");
}

}  // namespace
