#include "skerrit/removal/removal_paths.h"

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
}

TEST(RemovalPaths, FolderOfPathKeepsBackslash) {
    EXPECT_EQ(FolderOfPath("C:\\P\\a.dll"), "C:\\P\\");
    EXPECT_EQ(FolderOfPath("C:\\a.dll"), "C:\\");
    EXPECT_EQ(FolderOfPath("a.dll"), "");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\P\\"), "C:\\P");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\P"), "C:\\P");
}

}  // namespace
