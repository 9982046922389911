#include "skerrit/removal/removal_paths.h"

#include "common/lead_bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Folders the upward walk would try after removing the first one.
std::vector<std::string> Walk(std::string folder) {
    std::vector<std::string> tried;
    while (MayRemoveFolder(folder)) {
        tried.push_back(folder);
        folder = ParentFolderToTry(folder);
    }
    return tried;
}

TEST(RemovalPaths, WalkStopsAboveTheDrive) {
    EXPECT_EQ(Walk("C:\\Program Files\\Product\\Sub"),
              (std::vector<std::string>{"C:\\Program Files\\Product\\Sub", "C:\\Program Files\\Product",
                                        "C:\\Program Files"}));
    EXPECT_EQ(Walk("C:\\A"), std::vector<std::string>{"C:\\A"});
    EXPECT_TRUE(Walk("C:").empty());
    EXPECT_TRUE(Walk(WithoutTrailingBackslash("C:\\")).empty());
    EXPECT_TRUE(Walk("").empty());
    EXPECT_TRUE(Walk("AB:").empty());
    // A share's root and the server above it are never tried.
    EXPECT_EQ(Walk("\\\\srv\\share\\P\\Sub"),
              (std::vector<std::string>{"\\\\srv\\share\\P\\Sub", "\\\\srv\\share\\P"}));
}

// Every path the check accepts is one the system takes as it stands: no
// component it would drop, merge, step through or read as a stream.
TEST(RemovalPaths, FullyQualifiedPathsOnly) {
    for (const char* good : {"C:\\a", "z:\\Program Files\\P\\a b.dll", "\\\\srv\\share\\a.txt",
                             "C:\\.hidden\\x", "C:\\caf\xe9\\\xdf.txt"})
        EXPECT_TRUE(IsFullyQualifiedPath(good)) << good;
    for (const char* bad : {"", "a.txt", "C:a.txt", "\\a.txt", "C:\\", "C:\\a\\", "C:\\a\\\\b",
                            "C:\\a\\..\\b", "C:\\.\\b", "C:\\a/b", "C:/a", "C:\\a.", "C:\\a ",
                            "C:\\a:s", "C:\\a*", "C:\\a?", "C:\\a\tb", "1:\\a", "\\\\?\\C:\\a",
                            "\\\\.\\C:\\a", "\\\\srv", "\\\\srv\\share", "\\\\srv\\\\a",
                            "\\\\\\share\\a"})
        EXPECT_FALSE(IsFullyQualifiedPath(bad)) << bad;
    const std::string longest = "C:\\" + std::string(kMaxRemovalPathLength - 3, 'a');
    EXPECT_TRUE(IsFullyQualifiedPath(longest));
    EXPECT_FALSE(IsFullyQualifiedPath(longest + "a"));
}

TEST(RemovalPaths, FolderOfPathKeepsBackslash) {
    EXPECT_EQ(FolderOfPath("C:\\P\\a.dll"), "C:\\P\\");
    EXPECT_EQ(FolderOfPath("C:\\a.dll"), "C:\\");
    EXPECT_EQ(FolderOfPath("a.dll"), "");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\P\\"), "C:\\P");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\P"), "C:\\P");
}

// Every other spelling Windows gives one local path comes back as its drive form;
// what only looks alike (another server, a share that is no drive) does not.
TEST(RemovalPaths, LocalFormOfThisMachinesSpellings) {
    for (const char* spelling : {"\\\\localhost\\C$\\P\\a.dll", "\\\\127.0.0.1\\c$\\P\\a.dll",
                                 "\\\\BOX\\C$\\P\\a.dll", "\\\\box\\c$\\P\\a.dll", "\\\\?\\C:\\P\\a.dll",
                                 "\\\\.\\C:\\P\\a.dll", "\\\\?\\UNC\\localhost\\C$\\P\\a.dll"}) {
        std::string local = LocalFormOfPath(spelling, "BOX");
        local[0] = 'C';
        EXPECT_EQ(local, "C:\\P\\a.dll") << spelling;
    }
    EXPECT_EQ(LocalFormOfPath("\\\\localhost\\D$", "BOX"), "D:\\");
    EXPECT_EQ(LocalFormOfPath("\\\\?\\UNC\\srv\\share\\a", "BOX"), "\\\\srv\\share\\a");
    for (const char* other : {"\\\\srv\\C$\\a", "\\\\localhost\\share\\a", "\\\\localhost\\CD$\\a",
                              "C:\\a", "\\\\?\\Volume{x}\\a", "\\\\BOXES\\C$\\a"})
        EXPECT_EQ(LocalFormOfPath(other, "BOX"), other);
}

// In code page 932 the second byte of a character may be 0x5C or '|': it is
// part of the name, never a separator or a reserved character.
TEST(RemovalPaths, TrailBytesAreNoSeparators) {
    UseLeadByteTest([](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); });
    const std::string table = "\x95\x5c";  // one character, its trail byte a backslash
    EXPECT_TRUE(IsFullyQualifiedPath("C:\\P\\" + table));
    EXPECT_TRUE(IsFullyQualifiedPath("C:\\P\\\x95|x"));
    EXPECT_EQ(FolderOfPath("C:\\" + table + "\\a.dll"), "C:\\" + table + "\\");
    EXPECT_EQ(FolderOfPath("C:\\P\\" + table), "C:\\P\\");
    EXPECT_EQ(ParentFolderToTry("C:\\P\\Q" + table), "C:\\P");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\P\\" + table), "C:\\P\\" + table);
    EXPECT_TRUE(IsPlainShortcutPart("Group" + table));
    UseLeadByteTest(nullptr);
    EXPECT_FALSE(IsFullyQualifiedPath("C:\\P\\" + table)) << "a single-byte code page splits there";
}

}  // namespace
