// Extraction and test runs, compared with Info-ZIP unzip, and the rules around them.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>

#include "tests/zipcore/memory_file_system.h"
#include "tests/zipcore/disk_fixture.h"
#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/pkware_crypt.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"

using namespace zipcore;
using namespace ziptest;
namespace fsys = std::filesystem;

namespace {

bool ownerWritable(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) != 0;
}

class UnzipExtract : public DiskFixture {
protected:
    void SetUp() override {
        writeFile(dir_ / "src/notes.txt", textData(30000, 11));
        writeFile(dir_ / "src/big.txt", textData(2500000, 12));
        writeFile(dir_ / "src/noise.bin", binaryData(300000, 13));
        writeFile(dir_ / "src/sub/deep/Long Name File.txt", textData(777, 14));
        writeFile(dir_ / "src/sub/empty.dat", "");
        fsys::create_directories(dir_ / "src/emptydir");
        ASSERT_EQ(0, run(dir_.path(), "zip -qr test.zip src"));
        options_.archivePath = dir_ / "test.zip";
        options_.destination = dir_ / "out";
    }

    UnzipOutcome extract() { return runUnzip(fs_, UnzipAction::Extract, options_, events_); }
    bool leftovers(const std::string& folder) {
        for (auto& e : fsys::recursive_directory_iterator(folder))
            if (e.path().string().find(".~vx") != std::string::npos) return true;
        return false;
    }

    UnzipOptions options_;
};

TEST_F(UnzipExtract, ExtractsTheSameTreeAsUnzip) {
    const UnzipOutcome o = extract();
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(9, o.count);  // 5 files and 4 folders
    ASSERT_EQ(0, run(dir_.path(), "unzip -q test.zip -d ref"));
    EXPECT_EQ("", compareTrees(dir_ / "ref", dir_ / "out"));
    EXPECT_FALSE(leftovers(dir_ / "out"));
    EXPECT_TRUE(events_.messages.empty());
}

TEST_F(UnzipExtract, StatusReportsRiseToOneHundredPercent) {
    ASSERT_EQ(ZipResult::Ok, extract().code);
    int32_t lastMajor = -1;
    bool bigItemSeen = false;
    int minorEventsForBig = 0;
    for (const auto& s : events_.statuses) {
        EXPECT_GE(s.percent, 0);
        EXPECT_LE(s.percent, 100);
        if (s.major) {
            EXPECT_GE(s.percent, lastMajor) << s.text;
            lastMajor = s.percent;
        } else if (s.text == "src/big.txt") {
            bigItemSeen = true;
            ++minorEventsForBig;
        }
    }
    EXPECT_EQ(100, lastMajor);
    EXPECT_TRUE(bigItemSeen);
    // A 2.5 MB item reports in several steps, but not once per byte.
    EXPECT_GT(minorEventsForBig, 3);
    EXPECT_LE(minorEventsForBig, 102);
}

TEST_F(UnzipExtract, RefusedItemsStillAdvanceTheRunPercent) {
    writeFile(dir_ / "refused.zip", buildStoredArchive({{"../a", textData(1000, 1)}, {"/b", textData(1000, 2)},
                                                         {"ok.txt", "0123456789"}}));
    options_.archivePath = dir_ / "refused.zip";
    ASSERT_EQ(ZipResult::UnsafeName, extract().code);
    int32_t okStart = -1;
    for (const auto& s : events_.statuses)
        if (s.major && s.text == "Extracting ok.txt" && okStart < 0) okStart = s.percent;
    EXPECT_EQ(99, okStart);
}

TEST_F(UnzipExtract, SpecsRecursionAndNoDirectoryNames) {
    options_.fileSpec = "*.txt";
    options_.recurse = true;
    options_.noDirectoryNames = true;
    const UnzipOutcome o = extract();
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(3, o.count);
    EXPECT_EQ(readFile(dir_ / "src/notes.txt"), readFile(dir_ / "out/notes.txt"));
    EXPECT_EQ(readFile(dir_ / "src/sub/deep/Long Name File.txt"), readFile(dir_ / "out/Long Name File.txt"));
    EXPECT_FALSE(exists(dir_ / "out/src"));

    options_.recurse = false;
    options_.noDirectoryNames = false;
    options_.fileSpec = "*.txt";
    EXPECT_EQ(ZipResult::NothingMatched, extract().code);
    EXPECT_TRUE(events_.sawMessage(MessageCode::NothingMatched));
}

TEST_F(UnzipExtract, ItemTimeAndReadOnlyAttributeAreApplied) {
    writeFile(dir_ / "ro.txt", "read only");
    ASSERT_EQ(0, run(dir_.path(), "touch -d '2001-09-28 11:50:40' ro.txt && chmod 444 ro.txt && zip -q ro.zip ro.txt"));
    options_.archivePath = dir_ / "ro.zip";
    ASSERT_EQ(ZipResult::Ok, extract().code);
    const std::string out = dir_ / "out/ro.txt";
    EXPECT_FALSE(ownerWritable(out));
    FileStat st;
    ASSERT_TRUE(fs_.stat(out, st));
    EXPECT_EQ("09/28/2001 11:50:40", formatDosDateTime(st.modified));
}

TEST_F(UnzipExtract, FolderItemsKeepTheirTimeAfterFilesLandInThem) {
    ASSERT_EQ(0, run(dir_.path(), "mkdir -p t/f && echo x > t/f/a && touch -d '2003-03-03 10:00:00' t/f && zip -qr t.zip t"));
    options_.archivePath = dir_ / "t.zip";
    ASSERT_EQ(ZipResult::Ok, extract().code);
    FileStat st;
    ASSERT_TRUE(fs_.stat(dir_ / "out/t/f", st));
    EXPECT_EQ("03/03/2003 10:00:00", formatDosDateTime(st.modified));
}

TEST_F(UnzipExtract, LineFeedsBecomeCrLfOnlyWhenAsked) {
    writeFile(dir_ / "lines.txt", "one\ntwo\r\nthree\n");
    ASSERT_EQ(0, run(dir_.path(), "zip -q lines.zip lines.txt"));
    options_.archivePath = dir_ / "lines.zip";
    options_.lfToCrlf = true;
    ASSERT_EQ(ZipResult::Ok, extract().code);
    EXPECT_EQ("one\r\ntwo\r\nthree\r\n", readFile(dir_ / "out/lines.txt"));
    options_.lfToCrlf = false;
    options_.overwrite = true;
    ASSERT_EQ(ZipResult::Ok, extract().code);
    EXPECT_EQ("one\ntwo\r\nthree\n", readFile(dir_ / "out/lines.txt"));
}

TEST_F(UnzipExtract, LongNamesCanBeMangledOrPassedOver) {
    options_.fileSpec = "src/sub/deep/*";
    options_.mangleLongNames = true;
    UnzipOutcome o = extract();
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(readFile(dir_ / "src/sub/deep/Long Name File.txt"), readFile(dir_ / "out/src/sub/deep/LONGNA~1.TXT"));
    EXPECT_FALSE(exists(dir_ / "out/src/sub/deep/Long Name File.txt"));

    options_.mangleLongNames = false;
    options_.ignoreLongNames = true;
    options_.fileSpec = "";
    options_.destination = dir_ / "out2";
    o = extract();
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(8, o.count);  // all but the one long name
    EXPECT_TRUE(exists(dir_ / "out2/src/notes.txt"));
    EXPECT_FALSE(exists(dir_ / "out2/src/sub/deep/Long Name File.txt"));
}

TEST_F(UnzipExtract, TestRunChecksWithoutWriting) {
    options_.test = true;
    const UnzipOutcome o = extract();
    EXPECT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(9, o.count);
    EXPECT_FALSE(exists(dir_ / "out"));
}

TEST_F(UnzipExtract, ExistingFilesFollowOverwriteRules) {
    options_.fileSpec = "src/notes.txt";
    writeFile(dir_ / "out/src/notes.txt", "mine");
    UnzipOutcome o = extract();
    EXPECT_EQ(ZipResult::ItemSkipped, o.code);
    EXPECT_EQ(0, o.count);
    EXPECT_TRUE(events_.sawMessage(MessageCode::OverwriteFile));
    EXPECT_EQ("mine", readFile(dir_ / "out/src/notes.txt"));

    events_.answer = [](MessageCode c) { return c == MessageCode::OverwriteFile ? ResponseYes : ResponseDefault; };
    o = extract();
    EXPECT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(readFile(dir_ / "src/notes.txt"), readFile(dir_ / "out/src/notes.txt"));

    events_ = RecordingEvents();
    writeFile(dir_ / "out/src/notes.txt", "mine");
    options_.overwrite = true;
    EXPECT_EQ(ZipResult::Ok, extract().code);
    EXPECT_TRUE(events_.messages.empty());
    EXPECT_EQ(readFile(dir_ / "src/notes.txt"), readFile(dir_ / "out/src/notes.txt"));
}

TEST_F(UnzipExtract, ReadOnlyTargetsNeedTheirOwnPermission) {
    options_.fileSpec = "src/notes.txt";
    options_.overwrite = true;
    writeFile(dir_ / "out/src/notes.txt", "mine");
    ASSERT_TRUE(fs_.setAttributes(dir_ / "out/src/notes.txt", AttrReadOnly));
    EXPECT_EQ(ZipResult::ItemSkipped, extract().code);
    EXPECT_TRUE(events_.sawMessage(MessageCode::OverwriteReadOnly));
    EXPECT_EQ("mine", readFile(dir_ / "out/src/notes.txt"));
    EXPECT_FALSE(ownerWritable(dir_ / "out/src/notes.txt"));

    options_.overwriteReadOnly = true;
    EXPECT_EQ(ZipResult::Ok, extract().code);
    EXPECT_EQ(readFile(dir_ / "src/notes.txt"), readFile(dir_ / "out/src/notes.txt"));
}

TEST_F(UnzipExtract, FreshenAndUpdateCompareTimes) {
    options_.fileSpec = "src/notes.txt src/noise.bin";
    writeFile(dir_ / "out/src/notes.txt", "older");
    writeFile(dir_ / "out/src/noise.bin", "newer");
    ASSERT_TRUE(fs_.setModified(dir_ / "out/src/notes.txt", DosDateTime{0x2000, 0}));  // 1996
    ASSERT_TRUE(fs_.setModified(dir_ / "out/src/noise.bin", DosDateTime{0xF000, 0}));  // 2100

    options_.freshen = true;
    UnzipOutcome o = extract();
    EXPECT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(1, o.count);
    EXPECT_EQ(readFile(dir_ / "src/notes.txt"), readFile(dir_ / "out/src/notes.txt"));
    EXPECT_EQ("newer", readFile(dir_ / "out/src/noise.bin"));

    // Freshen never creates; update does.
    fsys::remove(dir_ / "out/src/notes.txt");
    o = extract();
    EXPECT_EQ(0, o.count);
    EXPECT_FALSE(exists(dir_ / "out/src/notes.txt"));
    options_.freshen = false;
    options_.update = true;
    o = extract();
    EXPECT_EQ(1, o.count);
    EXPECT_TRUE(exists(dir_ / "out/src/notes.txt"));
    EXPECT_EQ("newer", readFile(dir_ / "out/src/noise.bin"));
    EXPECT_TRUE(events_.messages.empty());
}

TEST_F(UnzipExtract, PasswordsDecryptAndWrongOnesWriteNothing) {
    const std::string secret = textData(50000, 21);
    writeFile(dir_ / "secret.txt", secret);
    ASSERT_EQ(0, run(dir_.path(), "zip -q -P 'open sesame' enc.zip secret.txt"));
    options_.archivePath = dir_ / "enc.zip";

    EXPECT_EQ(ZipResult::BadPassword, extract().code);
    EXPECT_TRUE(events_.sawMessage(MessageCode::PasswordFailed));
    options_.decrypt = true;
    options_.password = "open sesamE";
    EXPECT_EQ(ZipResult::BadPassword, extract().code);
    EXPECT_FALSE(exists(dir_ / "out/secret.txt"));
    EXPECT_FALSE(leftovers(dir_ / "out"));

    // The password is used only with the decrypt switch on.
    options_.decrypt = false;
    options_.password = "open sesame";
    EXPECT_EQ(ZipResult::BadPassword, extract().code);
    options_.decrypt = true;
    ASSERT_EQ(ZipResult::Ok, extract().code);
    EXPECT_EQ(secret, readFile(dir_ / "out/secret.txt"));
}

// One wrong password in 256 passes the check byte; its data then fails. It must still read as
// a wrong password (not damage), and write nothing.
TEST_F(UnzipExtract, AWrongPasswordPastTheCheckByteIsStillAWrongPassword) {
    writeFile(dir_ / "secret.txt", textData(50000, 22));
    ASSERT_EQ(0, run(dir_.path(), "zip -q -P 'open sesame' enc.zip secret.txt"));
    const std::string archive = readFile(dir_ / "enc.zip");
    const auto u16 = [&](size_t at) { return unsigned(uint8_t(archive[at])) | unsigned(uint8_t(archive[at + 1])) << 8; };
    const size_t header = 30 + u16(26) + u16(28);
    const uint8_t check = (u16(6) & 0x0008) ? uint8_t(u16(10) >> 8) : uint8_t(archive[17]);
    std::string slipping;
    for (int n = 0; n < 20000 && slipping.empty(); ++n) {
        const std::string candidate = "wrong" + std::to_string(n);
        PkwareKeys keys(candidate);
        uint8_t bytes[12];
        std::memcpy(bytes, archive.data() + header, sizeof bytes);
        keys.decrypt(bytes, sizeof bytes);
        if (bytes[11] == check) slipping = candidate;
    }
    ASSERT_FALSE(slipping.empty());

    options_.archivePath = dir_ / "enc.zip";
    options_.decrypt = true;
    options_.password = slipping;
    EXPECT_EQ(ZipResult::BadPassword, extract().code);
    EXPECT_TRUE(events_.sawMessage(MessageCode::PasswordFailed));
    EXPECT_FALSE(exists(dir_ / "out/secret.txt"));
    EXPECT_FALSE(leftovers(dir_ / "out"));
    options_.test = true;
    EXPECT_EQ(ZipResult::BadPassword, extract().code);
}

TEST_F(UnzipExtract, DamagedDataNeverReplacesTheTarget) {
    std::string archive = readFile(dir_ / "test.zip");
    // Flip a byte well inside the compressed data of the big text item.
    const size_t at = archive.find("src/big.txt") + 11 + 5000;
    archive[at] = char(archive[at] ^ 0x55);
    writeFile(dir_ / "bad.zip", archive);
    options_.archivePath = dir_ / "bad.zip";
    options_.fileSpec = "src/big.txt";
    options_.overwrite = true;
    writeFile(dir_ / "out/src/big.txt", "keep me");
    const UnzipOutcome o = extract();
    EXPECT_TRUE(o.code == ZipResult::CrcMismatch || o.code == ZipResult::ArchiveDamaged) << int(o.code);
    EXPECT_EQ("keep me", readFile(dir_ / "out/src/big.txt"));
    EXPECT_FALSE(leftovers(dir_ / "out"));
    EXPECT_FALSE(events_.messages.empty());
}

TEST_F(UnzipExtract, WrongCrcAndOverlongStreamsAreCaught) {
    RawItem badCrc{"bad.txt", "some text", 0, 0x12345678, true};
    const std::string zeros(1 << 20, '\0');
    RawItem bomb{"bomb.bin", rawDeflate(zeros), 0, crcOf(zeros), true, 8, 1000};
    writeFile(dir_ / "raw.zip", buildStoredArchive({badCrc, bomb}));
    options_.archivePath = dir_ / "raw.zip";
    options_.test = true;
    UnzipOutcome o = extract();
    EXPECT_EQ(ZipResult::CrcMismatch, o.code);
    EXPECT_EQ(0, o.count);
    options_.test = false;
    o = extract();
    EXPECT_EQ(ZipResult::CrcMismatch, o.code);
    EXPECT_FALSE(exists(dir_ / "out/bad.txt"));
    EXPECT_FALSE(exists(dir_ / "out/bomb.bin"));
}

TEST_F(UnzipExtract, OverlappingItemsAreRefused) {
    // Two central records naming one local item: the classic way to multiply output.
    std::string archive = buildStoredArchive({{"a.txt", textData(1000, 5)}, {"b.txt", textData(1000, 6)}});
    const size_t second = archive.rfind(std::string("PK\x01\x02", 4));
    for (int i = 0; i < 4; ++i) archive[second + 42 + size_t(i)] = 0;
    writeFile(dir_ / "overlap.zip", archive);
    options_.archivePath = dir_ / "overlap.zip";
    EXPECT_EQ(ZipResult::ArchiveDamaged, extract().code);
    EXPECT_EQ(ZipResult::ArchiveDamaged, runUnzip(fs_, UnzipAction::CountAll, options_, events_).code);
    EXPECT_FALSE(exists(dir_ / "out"));
}

TEST_F(UnzipExtract, HostileNamesNeverLeaveTheDestination) {
    const std::vector<RawItem> items = {
        {"../escape1.txt", "x"}, {"/tmp/zipcore-abs.txt", "x"}, {"sub/../../escape2.txt", "x"},
        {"C:\\escape3.txt", "x"}, {"..\\escape4.txt", "x"}, {"ok/good.txt", "fine"}, {"CON", "x"}};
    writeFile(dir_ / "evil.zip", buildStoredArchive(items));
    options_.archivePath = dir_ / "evil.zip";
    options_.destination = dir_ / "deep/out";
    const UnzipOutcome o = extract();
    EXPECT_EQ(ZipResult::UnsafeName, o.code);
    EXPECT_EQ(1, o.count);
    EXPECT_EQ("fine", readFile(dir_ / "deep/out/ok/good.txt"));
    for (const char* name : {"escape1.txt", "escape2.txt", "escape3.txt", "escape4.txt", "deep/escape1.txt",
                             "deep/escape2.txt", "deep/escape4.txt", "deep/out/CON"})
        EXPECT_FALSE(exists(dir_ / name)) << name;
    EXPECT_FALSE(exists("/tmp/zipcore-abs.txt"));
    EXPECT_TRUE(events_.sawMessage(MessageCode::UnsafeName));
}

TEST_F(UnzipExtract, RenameEventChangesNameTimeAndAttributes) {
    options_.fileSpec = "src/notes.txt src/noise.bin src/sub/empty.dat";
    options_.allowRenaming = true;
    events_.onRename = [](RenameRequest& r) {
        if (r.originalName == "src/noise.bin") return 1;  // skip
        if (r.originalName == "src/sub/empty.dat") {
            r.name = "../outside.dat";
            return 0;
        }
        EXPECT_EQ("src/notes.txt", r.name);
        r.name = "renamed/notes.log";
        r.dosDate = 0x279F;
        r.dosTime = 0x5E54;
        r.attributes = AttrReadOnly | AttrArchive;
        return 0;
    };
    const UnzipOutcome o = extract();
    EXPECT_EQ(ZipResult::UnsafeName, o.code);
    EXPECT_EQ(1, o.count);
    EXPECT_EQ(3u, events_.renames.size());
    const std::string renamed = dir_ / "out/renamed/notes.log";
    EXPECT_EQ(readFile(dir_ / "src/notes.txt"), readFile(renamed));
    FileStat st;
    ASSERT_TRUE(fs_.stat(renamed, st));
    EXPECT_EQ("12/31/1999 11:50:40", formatDosDateTime(st.modified));
    EXPECT_FALSE(ownerWritable(renamed));
    EXPECT_FALSE(exists(dir_ / "out/src/noise.bin"));
    EXPECT_FALSE(exists(dir_ / "outside.dat"));

    events_.onRename = [](RenameRequest&) { return 2; };
    EXPECT_EQ(ZipResult::Cancelled, extract().code);
}

TEST_F(UnzipExtract, CancelThroughAStatusEventStopsTheRun) {
    options_.fileSpec = "src/big.txt src/noise.bin src/notes.txt";
    events_.cancelWhen = [](const RecordingEvents::Status& s) { return !s.major && s.percent >= 10; };
    const UnzipOutcome o = extract();
    EXPECT_EQ(ZipResult::Cancelled, o.code);
    EXPECT_EQ(0, o.count);
    EXPECT_TRUE(events_.sawMessage(MessageCode::ConfirmCancel));
    EXPECT_FALSE(exists(dir_ / "out/src/big.txt"));
    EXPECT_FALSE(leftovers(dir_ / "out"));

    // Declining the confirmation lets the run go on.
    events_ = RecordingEvents();
    events_.cancelWhen = [](const RecordingEvents::Status& s) { return !s.major && s.percent >= 10; };
    events_.answer = [](MessageCode c) { return c == MessageCode::ConfirmCancel ? ResponseNo : ResponseDefault; };
    const UnzipOutcome goOn = extract();
    EXPECT_EQ(ZipResult::Ok, goOn.code);
    EXPECT_EQ(3, goOn.count);
}

}  // namespace

namespace {

TEST(UnzipProtectedTargets, HiddenAndSystemFilesAreReplacedAndKeptOnFailure) {
    MemoryFileSystem fs;
    fs.refuseProtectedTargets = true;
    fs.nodes["/a.zip"].data = buildStoredArchive({{"h.txt", "new hidden"}, {"s.txt", "bad", 0, 1, true}});
    fs.nodes["/out"].folder = true;
    fs.nodes["/out/h.txt"] = {false, "old", {}, AttrHidden};
    fs.nodes["/out/s.txt"] = {false, "old", {}, AttrSystem | AttrReadOnly};
    RecordingEvents events;
    UnzipOptions o;
    o.archivePath = "/a.zip";
    o.destination = "/out";
    o.overwrite = true;
    o.overwriteReadOnly = true;
    const UnzipOutcome out = runUnzip(fs, UnzipAction::Extract, o, events);
    EXPECT_EQ(ZipResult::CrcMismatch, out.code);
    EXPECT_EQ("new hidden", fs.nodes["/out/h.txt"].data);
    EXPECT_EQ("old", fs.nodes["/out/s.txt"].data);
    EXPECT_EQ(uint32_t(AttrSystem | AttrReadOnly), fs.nodes["/out/s.txt"].attributes);
    EXPECT_EQ(4u, fs.nodes.size());  // no temporary file is left
}

TEST(UnzipPathLimit, PathsTheFileSystemWouldCutAreRefused) {
    MemoryFileSystem fs;
    fs.pathLimit = 40;
    fs.nodes["/a.zip"].data = buildStoredArchive({{"short.txt", "a"}, {std::string(40, 'n') + ".txt", "b"}});
    RecordingEvents events;
    UnzipOptions o;
    o.archivePath = "/a.zip";
    o.destination = "/out";
    const UnzipOutcome out = runUnzip(fs, UnzipAction::Extract, o, events);
    EXPECT_EQ(ZipResult::TooLarge, out.code);
    EXPECT_EQ(1, out.count);
    EXPECT_EQ("a", fs.nodes["/out/short.txt"].data);
    for (const auto& node : fs.nodes) EXPECT_LE(node.first.size(), 40u) << node.first;
}

}  // namespace
