// The shipped files' own throw helpers stand in for the library's: what the library throws
// must still reach a handler for std::exception (or std::bad_alloc), never end the program.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

template <typename Action>
std::string MessageOf(Action action) {
    try {
        action();
    } catch (const std::bad_alloc&) {
        return "bad_alloc";
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TEST(RuntimeThrows, LibraryErrorsAreStandardExceptionsWithTheLibrarysMessage) {
    volatile size_t far = 9;
    EXPECT_NE(MessageOf([&] { (void)std::vector<int>(3).at(far); }).find("vector"), std::string::npos);
    EXPECT_NE(MessageOf([&] { (void)std::string("abc").substr(far); }).find("substr"), std::string::npos);
    std::string text;
    EXPECT_NE(MessageOf([&] { text.reserve(text.max_size() + far); }), "");
    std::vector<char> bytes;
    EXPECT_NE(MessageOf([&] { bytes.resize(bytes.max_size() + far); }), "");
    volatile int count = -1;
    EXPECT_EQ(MessageOf([&] { delete[] new int[count]; }), "bad_alloc");
}

}  // namespace
