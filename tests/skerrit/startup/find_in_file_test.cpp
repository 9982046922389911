#include "skerrit/startup/find_in_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::int64_t Find(const std::string& data, std::int64_t start, const std::string& text, bool fold,
                  int* reads = nullptr) {
    return FindInStream(
        [&](std::int64_t offset, char* buffer, std::size_t size) -> std::size_t {
            if (reads != nullptr) ++*reads;
            if (offset < 0 || static_cast<std::size_t>(offset) >= data.size()) return 0;
            const std::size_t n = std::min(size, data.size() - static_cast<std::size_t>(offset));
            std::memcpy(buffer, data.data() + offset, n);
            return n;
        },
        start, text, fold);
}

TEST(FindInStream, FindsTextAtEveryPositionAroundChunkBoundaries) {
    const std::string key = "Config Marker";
    for (std::size_t boundary : {1024u, 2047u, 3072u}) {
        for (std::size_t at = boundary - key.size() - 1; at <= boundary + 1; ++at) {
            std::string data(4000, 'x');
            data.replace(at, key.size(), key);
            ASSERT_EQ(Find(data, 0, key, false), static_cast<std::int64_t>(at)) << at;
        }
    }
}

TEST(FindInStream, SecondOccurrenceFromAStartAfterTheFirst) {
    std::string data(5000, '\0');
    data.replace(100, 13, "Config Marker");
    data.replace(4090, 13, "Config Marker");
    const std::int64_t first = Find(data, 0, "Config Marker", false);
    EXPECT_EQ(first, 100);
    EXPECT_EQ(Find(data, first + 16, "Config Marker", false), 4090);
    EXPECT_EQ(Find(data, 4091, "Config Marker", false), -1);
}

TEST(FindInStream, CaseFoldingOnlyWhenAsked) {
    std::string data(1500, '.');
    data.replace(1020, 6, "ReNaMe");
    EXPECT_EQ(Find(data, 0, "rename", false), -1);
    EXPECT_EQ(Find(data, 0, "[RENAME", true), -1);
    EXPECT_EQ(Find(data, 0, "RENAME", true), 1020);
    EXPECT_EQ(Find(data, 0, "ReNaMe", false), 1020);
}

TEST(FindInStream, ShortStreamsEmptyTextAndTextAtTheVeryEnd) {
    EXPECT_EQ(Find("", 0, "a", false), -1);
    EXPECT_EQ(Find("abc", 0, "abcd", false), -1);
    EXPECT_EQ(Find("abc", 0, "", false), -1);
    EXPECT_EQ(Find("abc", 0, "abc", false), 0);
    EXPECT_EQ(Find("abc", 5, "a", false), -1);
    std::string data(3000, 'q');
    data += "END";
    int reads = 0;
    EXPECT_EQ(Find(data, 0, "END", false, &reads), 3000);
    EXPECT_LE(reads, 4);  // consecutive chunks overlap, they do not step byte by byte
}

}  // namespace
