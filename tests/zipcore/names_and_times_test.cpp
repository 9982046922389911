#include <gtest/gtest.h>

#include "toolkit/zipcore/name_parts.h"
#include "toolkit/zipcore/dos_time.h"
#include "toolkit/zipcore/entry_name.h"
#include "toolkit/zipcore/file_spec.h"
#include "toolkit/zipcore/line_endings.h"
#include "toolkit/zipcore/long_names.h"
#include "toolkit/zipcore/pkware_crypt.h"

using namespace zipcore;

TEST(DosTime, FieldsRoundTripAndFormat) {
    const DosDateTime dt{0x279F, 0x5E54};  // 12/31/1999 11:50:40
    const CivilTime c = fromDos(dt);
    EXPECT_EQ(1999, c.year);
    EXPECT_EQ(12, c.month);
    EXPECT_EQ(31, c.day);
    EXPECT_EQ(11, c.hour);
    EXPECT_EQ(50, c.minute);
    EXPECT_EQ(40, c.second);
    EXPECT_EQ("12/31/1999 11:50:40", formatDosDateTime(dt));
    const DosDateTime back = toDos(c);
    EXPECT_EQ(dt.date, back.date);
    EXPECT_EQ(dt.time, back.time);
}

TEST(DosTime, ClampsOutsideTheDosRangeAndRoundsOddSeconds) {
    EXPECT_EQ(formatDosDateTime(toDos(CivilTime{1970, 6, 1, 0, 0, 0})), "01/01/1980 00:00:00");
    EXPECT_EQ(formatDosDateTime(toDos(CivilTime{2200, 1, 1, 0, 0, 0})), "12/31/2107 23:59:58");
    EXPECT_EQ(formatDosDateTime(toDos(CivilTime{2001, 9, 28, 23, 59, 59})), "09/28/2001 23:59:58");
}

TEST(DosTime, LocalTimeConversionRoundTrips) {
    const DosDateTime dt{0x2B3C, 0x7BBD};
    EXPECT_EQ(dosStamp(dt), dosStamp(dosFromUnix(unixFromDos(dt))));
    EXPECT_LT(dosStamp(DosDateTime{0x2B3C, 0x0000}), dosStamp(DosDateTime{0x2B3C, 0x0001}));
    EXPECT_LT(dosStamp(DosDateTime{0x2B3B, 0xFFFF}), dosStamp(DosDateTime{0x2B3C, 0x0000}));
}

TEST(FileSpecs, SplitsAtBlanksAndKeepsQuotedLongNames) {
    EXPECT_EQ((std::vector<std::string>{"a.txt", "long name.doc", "*.c"}),
              splitFileSpecs("  a.txt \"long name.doc\"\t*.c  "));
    EXPECT_EQ((std::vector<std::string>{"x y z"}), splitFileSpecs("\"x y z"));
    EXPECT_EQ((std::vector<std::string>{"ab c"}), splitFileSpecs("a\"b c\""));
    EXPECT_TRUE(splitFileSpecs("   \"\"  ").empty());
}

TEST(FileSpecs, WildcardsStayInsideOnePathPart) {
    EXPECT_TRUE(wildcardMatch("*.TXT", "read me.txt", false));
    EXPECT_FALSE(wildcardMatch("*.TXT", "read me.txt", true));
    EXPECT_TRUE(wildcardMatch("a?c*", "abcdef", true));
    EXPECT_FALSE(wildcardMatch("a?c", "ac", true));
    EXPECT_FALSE(wildcardMatch("*", "sub/file", true));
    EXPECT_TRUE(wildcardMatch("*/*", "sub/file", true));
    EXPECT_TRUE(wildcardMatch("**a*", "bba", true));
    // The system's rules on long names: "*.*" is every name, "*." a name without a dot, and
    // '?' one character, also outside ASCII.
    for (const char* name : {"README", "a.txt", "archive.tar.gz", ".profile"})
        EXPECT_TRUE(wildcardMatch("*.*", name, false)) << name;
    EXPECT_TRUE(wildcardMatch("make*.*", "Makefile", false));
    EXPECT_TRUE(wildcardMatch("*.", "LICENSE", false));
    EXPECT_FALSE(wildcardMatch("*.", "a.txt", false));
    EXPECT_FALSE(wildcardMatch("*.htm", "page.html", false));
    EXPECT_TRUE(wildcardMatch("caf?.txt", "caf\xC3\xA9.txt", true));
    EXPECT_TRUE(wildcardMatch("?.txt", "\xF0\x9F\x98\x80.txt", true));
    EXPECT_FALSE(wildcardMatch("??.txt", "\xC3\xA9.txt", true));
    // Case as Windows ignores it, beyond ASCII: "ÄRGER*" takes "ärger", "ΩMEGA" "ωmega".
    EXPECT_TRUE(wildcardMatch("\xC3\x84RGER*", "\xC3\xA4rger.txt", false));
    EXPECT_FALSE(wildcardMatch("\xC3\x84RGER*", "\xC3\xA4rger.txt", true));
    EXPECT_EQ(nameKey("\xCE\xA9MEGA/\xD0\x96\xC5\xBD", false), "\xCF\x89mega/\xD0\xB6\xC5\xBE");
    // A pathological pattern finishes quickly (linear backtracking).
    EXPECT_FALSE(wildcardMatch(std::string(200, '*') + "b", std::string(5000, 'a'), true));
}

TEST(FileSpecs, RecursionMatchesTheLastPartInAnyFolderBelow) {
    EXPECT_TRUE(specMatchesItem("*.txt", "a.txt", false, false));
    EXPECT_FALSE(specMatchesItem("*.txt", "sub/a.txt", false, false));
    EXPECT_TRUE(specMatchesItem("*.txt", "sub/deeper/a.txt", true, false));
    EXPECT_TRUE(specMatchesItem("sub\\*.txt", "sub/x/a.txt", true, false));
    EXPECT_FALSE(specMatchesItem("sub/*.txt", "other/x/a.txt", true, false));
    EXPECT_TRUE(specMatchesItem("sub", "sub/", false, false));
    EXPECT_TRUE(anySpecMatches({}, "anything/at/all", false, false));
    EXPECT_FALSE(anySpecMatches({"x", "y"}, "z", true, false));
}

TEST(EntryNames, HostileNamesAreRefused) {
    std::vector<std::string> parts;
    for (const char* bad : {"../evil", "a/../../evil", "/etc/passwd", "\\windows\\x", "C:\\x", "c:x", "a/b:stream",
                            "a/. ./b", "a/.../b", "CON", "sub/nul.txt", "LPT1", "com3.log", "a\x01" "b", "", "./", "//",
                            "a\xC2\x85" "b", "bad\xC0\xAF" "x", "a\x7F"}) {
        EXPECT_FALSE(safeRelativeParts(bad, parts)) << bad;
    }
}

TEST(EntryNames, OrdinaryNamesGiveTheirParts) {
    std::vector<std::string> parts;
    ASSERT_TRUE(safeRelativeParts("sub\\dir/./file name.txt", parts));
    EXPECT_EQ((std::vector<std::string>{"sub", "dir", "file name.txt"}), parts);
    ASSERT_TRUE(safeRelativeParts("folder/", parts));
    EXPECT_EQ((std::vector<std::string>{"folder"}), parts);
    ASSERT_TRUE(safeRelativeParts("console.txt", parts));
    ASSERT_TRUE(safeRelativeParts("..hidden", parts));
}

TEST(EntryNames, StoredNamesDropDrivesRootsAndClimbing) {
    EXPECT_EQ("data/x.txt", storedNameFor("C:\\data\\x.txt"));
    EXPECT_EQ("dir/x", storedNameFor("\\\\server\\share\\dir\\x"));
    EXPECT_EQ("a/b", storedNameFor("./../a/./b"));
    EXPECT_EQ("tmp/f", storedNameFor("/tmp/f"));
    EXPECT_EQ("", storedNameFor("\\\\server"));
}

TEST(EntryNames, ShortNameTest) {
    EXPECT_TRUE(isShortName("README.TXT"));
    EXPECT_TRUE(isShortName("SUB/FILE_1.C"));
    EXPECT_TRUE(isShortName("DIR/"));
    EXPECT_FALSE(isShortName("LONGFILENAME.TXT"));
    EXPECT_FALSE(isShortName("A.TEXT"));
    EXPECT_FALSE(isShortName("my file.txt"));
    EXPECT_FALSE(isShortName("a.b.c"));
    EXPECT_FALSE(isShortName("LONGFOLDER/A.TXT"));
}

// Decisions on the Unicode name: superscript digits make devices, look-alikes of separators
// and dots are plain characters, and trailing dots and blanks go as Windows drops them.
TEST(EntryNames, UnicodeNamesAreJudgedByTheirCharacters) {
    std::vector<std::string> parts;
    for (const char* device : {"COM\xC2\xB9", "com\xC2\xB2.txt", "dir/LPT\xC2\xB3", "LPT\xC2\xB9 .log"})
        EXPECT_FALSE(safeRelativeParts(device, parts)) << device;
    EXPECT_TRUE(safeRelativeParts("COM\xE2\x81\xB4", parts));
    EXPECT_TRUE(safeRelativeParts("COM12", parts));
    const std::string fullwidthSolidus = "\xEF\xBC\x8F", divisionSlash = "\xE2\x88\x95", fullStop = "\xEF\xBC\x8E";
    ASSERT_TRUE(safeRelativeParts(fullStop + fullStop + fullwidthSolidus + "x" + divisionSlash + "y", parts));
    EXPECT_EQ(parts, std::vector<std::string>{fullStop + fullStop + fullwidthSolidus + "x" + divisionSlash + "y"});
    ASSERT_TRUE(safeRelativeParts("dir. /name. . ", parts));
    EXPECT_EQ(parts, (std::vector<std::string>{"dir", "name"}));
    EXPECT_TRUE(isShortName("caf\xC3\xA9.txt"));
    EXPECT_FALSE(isShortName("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt"));
    EXPECT_EQ("CAF_AU~1.TXT", mangledPart("caf\xC3\xA9 au lait.txt", 1));
}

TEST(LineEndings, LoneLineFeedsBecomeCrLfAcrossChunks) {
    LfToCrlf conv;
    std::vector<uint8_t> out;
    const std::string a = "one\ntwo\r", b = "\nthree\n\n";
    conv.convert(reinterpret_cast<const uint8_t*>(a.data()), a.size(), out);
    std::string all(out.begin(), out.end());
    conv.convert(reinterpret_cast<const uint8_t*>(b.data()), b.size(), out);
    all.append(out.begin(), out.end());
    EXPECT_EQ("one\r\ntwo\r\nthree\r\n\r\n", all);
}

TEST(PkwareCrypt, EncryptThenDecryptGivesThePlainText) {
    PkwareKeys enc("secret"), dec("secret"), wrong("Secret");
    const std::string plain = "The quick brown fox";
    std::string cipher;
    for (unsigned char c : plain) cipher.push_back(char(enc.encrypt(c)));
    EXPECT_NE(plain, cipher);
    std::string back, bad;
    for (unsigned char c : cipher) {
        back.push_back(char(dec.decrypt(c)));
        bad.push_back(char(wrong.decrypt(c)));
    }
    EXPECT_EQ(plain, back);
    EXPECT_NE(plain, bad);
}

TEST(LongNames, MangledPartsAreShortAndNumbered) {
    EXPECT_EQ("LONGFI~1.TXT", mangledPart("Long File Name.txt", 1));
    EXPECT_EQ("ARCHIV~2.GZ", mangledPart("archive.tar.gz", 2));
    EXPECT_EQ("READM~10", mangledPart("readme first", 10));
    EXPECT_EQ("_~1.CFG", mangledPart("...cfg", 1));
    EXPECT_TRUE(isShortName(mangledPart("x+y=z [1].html", 3)));
}

TEST(LongNames, ManglerKeepsOneNamePerLongPartAndAvoidsCollisions) {
    LongNameMangler m;
    std::vector<std::string> a{"Program Files", "Long File Name.txt"};
    std::vector<std::string> b{"Program Files", "Long File Numbers.txt"};
    std::vector<std::string> c{"PROGRAM FILES", "SHORT.TXT"};
    m.mangle(a);
    m.mangle(b);
    m.mangle(c);
    EXPECT_EQ((std::vector<std::string>{"PROGRA~1", "LONGFI~1.TXT"}), a);
    EXPECT_EQ((std::vector<std::string>{"PROGRA~1", "LONGFI~2.TXT"}), b);
    EXPECT_EQ((std::vector<std::string>{"PROGRA~1", "SHORT.TXT"}), c);
}
