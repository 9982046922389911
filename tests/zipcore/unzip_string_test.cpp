// Unzipping part of an item into memory.
#include <gtest/gtest.h>

#include "tests/zipcore/disk_fixture.h"
#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"

using namespace zipcore;
using namespace ziptest;

namespace {

class UnzipString : public DiskFixture {
protected:
    void SetUp() override {
        text_ = textData(200000, 31);
        writeFile(dir_ / "zipstring", text_);
        writeFile(dir_ / "other.txt", "line one\nline two\n");
        ASSERT_EQ(0, run(dir_.path(), "zip -q str.zip zipstring other.txt && zip -q -P pw enc.zip other.txt"));
        options_.archivePath = dir_ / "str.zip";
        options_.fileSpec = "zipstring";
    }
    UnzipOutcome unzip() { return runUnzip(fs_, UnzipAction::UnzipToString, options_, events_); }

    UnzipOptions options_;
    std::string text_;
};

TEST_F(UnzipString, OffsetsAndLengthsSelectTheBytes) {
    options_.charsToUnzip = 256;
    UnzipOutcome o = unzip();
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(text_.substr(0, 256), o.unzipString);
    EXPECT_EQ(256, o.charsReturned);
    EXPECT_TRUE(o.hasInfo);
    EXPECT_EQ("zipstring", o.info.name);

    // An offset past the first internal buffer and a range across buffer ends.
    options_.startingOffset = 131000;
    options_.charsToUnzip = 5000;
    o = unzip();
    EXPECT_EQ(text_.substr(131000, 5000), o.unzipString);

    options_.startingOffset = 199990;
    options_.charsToUnzip = 256;
    o = unzip();
    EXPECT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(10, o.charsReturned);
    EXPECT_EQ(text_.substr(199990), o.unzipString);

    options_.startingOffset = 300000;
    o = unzip();
    EXPECT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(0, o.charsReturned);
    EXPECT_TRUE(o.unzipString.empty());
}

TEST_F(UnzipString, NegativeValuesAndMissingItemsAreRefused) {
    options_.startingOffset = -1;
    options_.charsToUnzip = 10;
    EXPECT_EQ(ZipResult::BadArgument, unzip().code);
    options_.startingOffset = 0;
    options_.charsToUnzip = -5;
    EXPECT_EQ(ZipResult::BadArgument, unzip().code);
    options_.charsToUnzip = 10;
    options_.fileSpec = "nosuchitem";
    const UnzipOutcome o = unzip();
    EXPECT_EQ(ZipResult::NothingMatched, o.code);
    EXPECT_EQ(0, o.charsReturned);
}

TEST_F(UnzipString, LineEndingsAndPasswordsApply) {
    options_.fileSpec = "other.txt";
    options_.charsToUnzip = 100;
    options_.lfToCrlf = true;
    UnzipOutcome o = unzip();
    EXPECT_EQ("line one\r\nline two\r\n", o.unzipString);
    options_.startingOffset = 9;
    options_.charsToUnzip = 5;
    EXPECT_EQ("\nline", unzip().unzipString);

    options_.lfToCrlf = false;
    options_.startingOffset = 0;
    options_.charsToUnzip = 100;
    options_.archivePath = dir_ / "enc.zip";
    EXPECT_EQ(ZipResult::BadPassword, unzip().code);
    options_.decrypt = true;
    options_.password = "pw";
    o = unzip();
    EXPECT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ("line one\nline two\n", o.unzipString);
}

}  // namespace
