// Counting, item information and comments, checked against Info-ZIP's own listing.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "tests/zipcore/disk_fixture.h"
#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"

using namespace zipcore;
using namespace ziptest;

namespace {

struct Listed {
    uint32_t size, csize, crc;
    std::string method, date, time, name;
};

// Parses `unzip -v`: Length Method Size Cmpr Date Time CRC-32 Name.
std::vector<Listed> listWithUnzip(const ScratchDir& dir, const std::string& archive) {
    run(dir.path(), "unzip -v " + archive + " > listing.txt");
    std::istringstream in(readFile(dir / "listing.txt"));
    std::vector<Listed> out;
    std::string line;
    int dashes = 0;
    while (std::getline(in, line)) {
        if (line.rfind("--------", 0) == 0) {
            ++dashes;
            continue;
        }
        if (dashes != 1) continue;
        std::istringstream f(line);
        Listed l;
        std::string ratio, crcText;
        f >> l.size >> l.method >> l.csize >> ratio >> l.date >> l.time >> crcText;
        l.crc = uint32_t(std::stoul(crcText, nullptr, 16));
        f >> std::ws;
        std::getline(f, l.name);
        out.push_back(l);
    }
    return out;
}

class UnzipInfo : public DiskFixture {
protected:
    void SetUp() override {
        writeFile(dir_ / "src/alpha.txt", textData(20000, 1));
        writeFile(dir_ / "src/sub/beta.bin", binaryData(70000, 2));
        writeFile(dir_ / "src/sub/Long File Name.txt", textData(3000, 3));
        writeFile(dir_ / "src/EMPTY.DAT", "");
        // An odd second is rounded up in the DOS field but not in Info-ZIP's own time field,
        // which its listing shows: stamps on an even second read the same both ways.
        ASSERT_EQ(0, run(dir_.path(), "find src -exec touch -d '2021-03-04 05:06:08' {} +"));
        ASSERT_EQ(0, run(dir_.path(), "zip -qr test.zip src"));
        ASSERT_EQ(0, run(dir_.path(), "printf 'An archive comment' | zip -qz test.zip"));
        options_.archivePath = dir_ / "test.zip";
    }

    UnzipOutcome act(UnzipAction action) { return runUnzip(fs_, action, options_, events_); }

    UnzipOptions options_;
};

TEST_F(UnzipInfo, CountsAndIndexedInformationMatchInfoZip) {
    const std::vector<Listed> listed = listWithUnzip(dir_, "test.zip");
    ASSERT_EQ(6u, listed.size());
    const UnzipOutcome count = act(UnzipAction::CountAll);
    EXPECT_EQ(ZipResult::Ok, count.code);
    EXPECT_EQ(int32_t(listed.size()), count.count);

    for (size_t i = 0; i < listed.size(); ++i) {
        options_.index = int32_t(i);
        const UnzipOutcome o = act(UnzipAction::IndexedInfo);
        ASSERT_EQ(ZipResult::Ok, o.code);
        ASSERT_TRUE(o.hasInfo);
        const Listed& l = listed[i];
        EXPECT_EQ(l.name, o.info.name);
        EXPECT_EQ(int32_t(i), o.info.index);
        EXPECT_EQ(l.size, o.info.originalSize) << l.name;
        EXPECT_EQ(l.csize, o.info.compressedSize) << l.name;
        EXPECT_EQ(l.crc, o.info.crc32) << l.name;
        EXPECT_EQ(l.method == "Stored" ? 0 : 8, o.info.method) << l.name;
        EXPECT_EQ(l.name.back() == '/', o.info.isDirectory) << l.name;
        // unzip shows YYYY-MM-DD HH:MM; ours is MM/DD/YYYY HH:MM:SS.
        const std::string& t = o.info.dateTimeText;
        ASSERT_EQ(19u, t.size());
        EXPECT_EQ(l.date, t.substr(6, 4) + "-" + t.substr(0, 2) + "-" + t.substr(3, 2)) << l.name;
        EXPECT_EQ(l.time, t.substr(11, 5)) << l.name;
        EXPECT_EQ(o.info.isDirectory, (o.info.attributes & AttrDirectory) != 0) << l.name;
        const bool shortName = l.name.find("Long File") == std::string::npos;
        EXPECT_EQ(!shortName, (o.info.attributes & AttrLongName) != 0) << l.name;
        EXPECT_EQ(0u, o.info.attributes & AttrEncrypted);
    }
}

TEST_F(UnzipInfo, NextInfoWalksFromTheIndexAndStopsAtTheEnd) {
    options_.index = -1;
    UnzipOutcome o = act(UnzipAction::NextInfo);
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(0, o.info.index);
    EXPECT_EQ("src/", o.info.name);
    options_.index = 4;
    o = act(UnzipAction::NextInfo);
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(5, o.info.index);
    options_.index = 5;
    o = act(UnzipAction::NextInfo);
    EXPECT_EQ(ZipResult::IndexOutOfRange, o.code);
    EXPECT_FALSE(o.hasInfo);
    options_.index = 6;
    EXPECT_EQ(ZipResult::IndexOutOfRange, act(UnzipAction::IndexedInfo).code);
    options_.index = -1;
    EXPECT_EQ(ZipResult::IndexOutOfRange, act(UnzipAction::IndexedInfo).code);
}

TEST_F(UnzipInfo, NamedCountsFollowSpecsQuotesAndRecursion) {
    options_.fileSpec = "src/*.txt";
    EXPECT_EQ(1, act(UnzipAction::CountNamed).count);
    options_.recurse = true;
    EXPECT_EQ(2, act(UnzipAction::CountNamed).count);
    options_.recurse = false;
    options_.fileSpec = "\"src/sub/long file name.txt\" src/empty.dat";
    EXPECT_EQ(2, act(UnzipAction::CountNamed).count);
    options_.fileSpec = "";
    EXPECT_EQ(6, act(UnzipAction::CountNamed).count);
    options_.noDirectoryItems = true;
    EXPECT_EQ(4, act(UnzipAction::CountNamed).count);
    options_.fileSpec = "nothing*";
    const UnzipOutcome none = act(UnzipAction::CountNamed);
    EXPECT_EQ(0, none.count);
    EXPECT_EQ(ZipResult::NothingMatched, none.code);
}

TEST_F(UnzipInfo, NextNamedInfoFindsTheFirstMatchAfterTheIndex) {
    options_.fileSpec = "*.txt *.bin";
    options_.recurse = true;
    std::vector<std::string> seen;
    options_.index = -1;
    for (;;) {
        const UnzipOutcome o = act(UnzipAction::NextNamedInfo);
        if (o.code != ZipResult::Ok) {
            EXPECT_EQ(ZipResult::NothingMatched, o.code);
            break;
        }
        seen.push_back(o.info.name);
        options_.index = o.info.index;
    }
    std::vector<std::string> expected;
    for (const Listed& l : listWithUnzip(dir_, "test.zip"))
        if (l.name.find(".txt") != std::string::npos || l.name.find(".bin") != std::string::npos) expected.push_back(l.name);
    EXPECT_EQ(3u, expected.size());
    EXPECT_EQ(expected, seen);
}

TEST_F(UnzipInfo, CommentAndItsSize) {
    UnzipOutcome o = act(UnzipAction::CommentSize);
    EXPECT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(18, o.count);
    o = act(UnzipAction::Comment);
    EXPECT_EQ("An archive comment", o.returnString);
}

TEST_F(UnzipInfo, EncryptedItemsShowTheirAttributeBit) {
    writeFile(dir_ / "plain.txt", "secret text");
    ASSERT_EQ(0, run(dir_.path(), "zip -q -P pw enc.zip plain.txt"));
    options_.archivePath = dir_ / "enc.zip";
    options_.index = 0;
    const UnzipOutcome o = act(UnzipAction::IndexedInfo);
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_NE(0u, o.info.attributes & AttrEncrypted);
}

TEST_F(UnzipInfo, MissingOrForeignArchivesGiveCodesAndMessages) {
    options_.archivePath = dir_ / "missing.zip";
    EXPECT_EQ(ZipResult::ArchiveNotFound, act(UnzipAction::CountAll).code);
    EXPECT_TRUE(events_.sawMessage(MessageCode::ArchiveOpen));
    writeFile(dir_ / "text.zip", textData(5000, 9));
    options_.archivePath = dir_ / "text.zip";
    EXPECT_EQ(ZipResult::NotAnArchive, act(UnzipAction::CountAll).code);
    options_.archivePath = "";
    EXPECT_EQ(ZipResult::BadArgument, act(UnzipAction::CountAll).code);
    options_.archivePath = dir_ / "test.zip";
    EXPECT_EQ(ZipResult::BadArgument, runUnzip(fs_, UnzipAction(10), options_, events_).code);
}

}  // namespace
