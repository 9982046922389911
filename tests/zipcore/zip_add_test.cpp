// Creating and updating archives, checked with Info-ZIP unzip and zip.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "tests/zipcore/disk_fixture.h"
#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/entry_name.h"
#include "toolkit/zipcore/file_compressor.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_engine.h"

using namespace zipcore;
using namespace ziptest;
namespace fsys = std::filesystem;

namespace {

// Joins split volumes the simple way: concatenate, then turn (disk, offset) pairs into offsets
// in the joined file. Done independently of the engine's own reader.
std::string joinVolumes(const std::vector<std::string>& volumes) {
    std::vector<uint64_t> start;
    std::string joined;
    for (const std::string& v : volumes) {
        start.push_back(joined.size());
        joined += v;
    }
    auto le16 = [&](size_t at) { return unsigned(uint8_t(joined[at])) | unsigned(uint8_t(joined[at + 1])) << 8; };
    auto le32 = [&](size_t at) { return uint32_t(le16(at)) | uint32_t(le16(at + 2)) << 16; };
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) joined[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
    };
    const size_t end = joined.rfind(std::string("PK\x05\x06", 4));
    const unsigned centralDisk = le16(end + 6), count = le16(end + 10);
    size_t at = start[centralDisk] + le32(end + 16);
    put32(end + 16, uint32_t(at - 4));
    for (int i = 0; i < 4; ++i) joined[end + 4 + size_t(i)] = 0;
    joined[end + 8] = char(count & 0xFF);
    joined[end + 9] = char(count >> 8);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned disk = le16(at + 34);
        put32(at + 42, uint32_t(start[disk] + le32(at + 42) - 4));
        joined[at + 34] = joined[at + 35] = 0;
        at += 46 + le16(at + 28) + le16(at + 30) + le16(at + 32);
    }
    return joined.substr(4);
}

class ZipAdd : public DiskFixture {
protected:
    void SetUp() override {
        writeFile(dir_ / "data/readme.txt", textData(40000, 41));
        writeFile(dir_ / "data/image.bin", binaryData(1500000, 42));  // streamed, incompressible
        writeFile(dir_ / "data/big.txt", textData(1800000, 43));      // streamed, deflated
        writeFile(dir_ / "data/tiny.bin", binaryData(100, 44));       // stored: deflate would grow it
        writeFile(dir_ / "data/sub/Long Name Notes.txt", textData(5000, 45));
        writeFile(dir_ / "data/sub/empty.txt", "");
        fsys::create_directories(dir_ / "data/sub/nothing");
        options_.archivePath = dir_ / "new.zip";
        options_.baseFolder = dir_.path();
    }
    ZipAddOutcome add() { return runZipAdd(fs_, options_, events_); }
    std::string unzipTo(const std::string& archive, const std::string& folder) {
        return run(dir_.path(), "unzip -q " + archive + " -d " + folder) == 0 ? "" : "unzip failed";
    }

    ZipAddOptions options_;
};

TEST_F(ZipAdd, RecursiveArchiveIsAcceptedAndExtractedByUnzip) {
    options_.itemList = "data";
    options_.recurse = true;
    const ZipAddOutcome o = add();
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(9, o.count);
    EXPECT_EQ(1, o.volumes);
    EXPECT_EQ(0, run(dir_.path(), "unzip -tq new.zip"));
    ASSERT_EQ("", unzipTo("new.zip", "x"));
    EXPECT_EQ("", compareTrees(dir_ / "data", dir_ / "x/data"));
    // Our reader sees what we wrote, and the incompressible small file was stored.
    UnzipOptions u;
    u.archivePath = dir_ / "new.zip";
    u.fileSpec = "data/tiny.bin";
    const UnzipOutcome info = runUnzip(fs_, UnzipAction::NextNamedInfo, u, events_);
    ASSERT_EQ(ZipResult::Ok, info.code);
    EXPECT_EQ(0, info.info.method);
    int32_t last = -1;
    for (const auto& s : events_.statuses)
        if (s.major) last = s.percent;
    EXPECT_EQ(100, last);
}

TEST_F(ZipAdd, WildcardsQuotedNamesAndStoredNames) {
    options_.itemList = "data/*.txt \"data/sub/Long Name Notes.txt\" " + (dir_ / "data/tiny.bin");
    const ZipAddOutcome o = add();
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(4, o.count);
    UnzipOptions u;
    u.archivePath = dir_ / "new.zip";
    std::vector<std::string> names;
    for (int32_t i = 0;; ++i) {
        u.index = i;
        const UnzipOutcome info = runUnzip(fs_, UnzipAction::IndexedInfo, u, events_);
        if (info.code != ZipResult::Ok) break;
        names.push_back(info.info.name);
    }
    const std::string absolute = storedNameFor(dir_ / "data/tiny.bin");
    EXPECT_EQ((std::vector<std::string>{"data/big.txt", "data/readme.txt", "data/sub/Long Name Notes.txt", absolute}), names);
    EXPECT_EQ(absolute.find('/'), absolute.find("tmp") + 3);
    EXPECT_EQ(0, run(dir_.path(), "unzip -tq new.zip"));
}

TEST_F(ZipAdd, UpdateReplacesSameNamedItemsAndKeepsTheRest) {
    options_.itemList = "data/readme.txt data/tiny.bin";
    ASSERT_EQ(ZipResult::Ok, add().code);
    ASSERT_EQ(0, run(dir_.path(), "printf 'kept comment' | zip -qz new.zip"));
    writeFile(dir_ / "data/readme.txt", "changed text");
    options_.itemList = "data/readme.txt data/sub/empty.txt";
    options_.level = 9;
    const ZipAddOutcome o = add();
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(2, o.count);
    EXPECT_EQ(0, run(dir_.path(), "unzip -tq new.zip"));
    ASSERT_EQ("", unzipTo("new.zip", "x"));
    EXPECT_EQ("changed text", readFile(dir_ / "x/data/readme.txt"));
    EXPECT_EQ(readFile(dir_ / "data/tiny.bin"), readFile(dir_ / "x/data/tiny.bin"));
    EXPECT_TRUE(exists(dir_ / "x/data/sub/empty.txt"));
    UnzipOptions u;
    u.archivePath = dir_ / "new.zip";
    EXPECT_EQ(3, runUnzip(fs_, UnzipAction::CountAll, u, events_).count);
    EXPECT_EQ("kept comment", runUnzip(fs_, UnzipAction::Comment, u, events_).returnString);
}

TEST_F(ZipAdd, EncryptedItemsOfAnOldArchiveSurviveAnUpdate) {
    writeFile(dir_ / "secret.txt", "hidden words");
    ASSERT_EQ(0, run(dir_.path(), "zip -q -P pw new.zip secret.txt"));
    options_.itemList = "data/readme.txt";
    ASSERT_EQ(ZipResult::Ok, add().code);
    fsys::remove(dir_ / "secret.txt");
    EXPECT_EQ(0, run(dir_.path(), "unzip -q -P pw new.zip secret.txt"));
    EXPECT_EQ("hidden words", readFile(dir_ / "secret.txt"));
}

TEST_F(ZipAdd, FailedOrCancelledRunsLeaveTheOldArchiveAsItWas) {
    options_.itemList = "data/readme.txt";
    ASSERT_EQ(ZipResult::Ok, add().code);
    const std::string before = readFile(dir_ / "new.zip");

    options_.itemList = "data/big.txt data/missing.txt";
    EXPECT_EQ(ZipResult::ReadFailed, add().code);
    EXPECT_TRUE(events_.sawMessage(MessageCode::SourceRead));
    EXPECT_EQ(before, readFile(dir_ / "new.zip"));

    options_.itemList = "data/big.txt data/image.bin";
    events_.cancelWhen = [](const RecordingEvents::Status& s) { return !s.major && s.percent >= 30; };
    EXPECT_EQ(ZipResult::Cancelled, add().code);
    EXPECT_EQ(before, readFile(dir_ / "new.zip"));

    // A file that is not an archive is never overwritten.
    writeFile(dir_ / "notes.zip", "not an archive at all, just text that is long enough");
    options_.archivePath = dir_ / "notes.zip";
    events_ = RecordingEvents();
    EXPECT_EQ(ZipResult::NotAnArchive, add().code);
    EXPECT_EQ("not an archive at all, just text that is long enough", readFile(dir_ / "notes.zip"));
    for (auto& e : fsys::directory_iterator(dir_.path()))
        EXPECT_EQ(std::string::npos, e.path().string().find(".~vx")) << e.path();
}

TEST_F(ZipAdd, BadArgumentsAndEmptyLists) {
    options_.itemList = "   ";
    EXPECT_EQ(ZipResult::NothingMatched, add().code);
    options_.itemList = "data/*.none";
    EXPECT_EQ(ZipResult::NothingMatched, add().code);
    EXPECT_FALSE(exists(dir_ / "new.zip"));
    options_.itemList = "data/readme.txt";
    options_.level = 10;
    EXPECT_EQ(ZipResult::BadArgument, add().code);
    options_.level = 6;
    options_.volumeSize = 1000;
    EXPECT_EQ(ZipResult::BadArgument, add().code);
}

TEST_F(ZipAdd, TheArchiveNeverAddsItself) {
    options_.archivePath = dir_ / "data/self.zip";
    options_.itemList = "data/*";
    ASSERT_EQ(ZipResult::Ok, add().code);
    ASSERT_EQ(ZipResult::Ok, add().code);  // a second run sees self.zip in the folder
    EXPECT_EQ(0, run(dir_.path(), "zipinfo -1 data/self.zip | grep -q self.zip && exit 1 || exit 0"));
}

TEST_F(ZipAdd, SplitArchiveJoinsIntoAValidArchive) {
    // Items smaller than a volume: Info-ZIP's own join mishandles an item over three volumes.
    for (int i = 0; i < 6; ++i) writeFile(dir_ / ("parts/p" + std::to_string(i) + ".bin"), binaryData(300000, 50 + i));
    options_.itemList = "parts";
    options_.recurse = true;
    options_.volumeSize = kMinVolumeSize * 8;  // 512 KiB
    const ZipAddOutcome o = add();
    ASSERT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(4, o.volumes);
    for (int n = 1; n < o.volumes; ++n) {
        const std::string name = dir_ / ("new.z0" + std::to_string(n));
        EXPECT_EQ(options_.volumeSize, fsys::file_size(name)) << name;
    }
    EXPECT_FALSE(exists(dir_ / "new.z04"));
    EXPECT_LE(fsys::file_size(dir_ / "new.zip"), options_.volumeSize);
    EXPECT_EQ(std::string("PK\x07\x08"), readFile(dir_ / "new.z01").substr(0, 4));
    EXPECT_TRUE(events_.sawMessage(MessageCode::NextVolume));
    ASSERT_EQ(0, run(dir_.path(), "zip -q -s 0 new.zip --out joined.zip"));
    EXPECT_EQ(0, run(dir_.path(), "unzip -tq joined.zip"));
    ASSERT_EQ("", unzipTo("joined.zip", "x"));
    EXPECT_EQ("", compareTrees(dir_ / "parts", dir_ / "x/parts"));
}

TEST_F(ZipAdd, SplitItemsMaySpanManyVolumes) {
    options_.itemList = "data";
    options_.recurse = true;
    options_.volumeSize = kMinVolumeSize * 4;  // 256 KiB: the 1.5 MB item spans seven volumes
    const ZipAddOutcome o = add();
    ASSERT_EQ(ZipResult::Ok, o.code);
    std::vector<std::string> volumes;
    for (int n = 1; n < o.volumes; ++n)
        volumes.push_back(readFile(dir_ / ((n < 10 ? "new.z0" : "new.z") + std::to_string(n))));
    volumes.push_back(readFile(dir_ / "new.zip"));
    writeFile(dir_ / "joined.zip", joinVolumes(volumes));
    EXPECT_EQ(0, run(dir_.path(), "unzip -tq joined.zip"));
    ASSERT_EQ("", unzipTo("joined.zip", "x"));
    EXPECT_EQ("", compareTrees(dir_ / "data", dir_ / "x/data"));
}

TEST_F(ZipAdd, SplitArchiveHonoursALargerFirstVolume) {
    options_.itemList = "data/image.bin data/big.txt";
    options_.volumeSize = kMinVolumeSize * 8;
    options_.firstVolumeSize = kMinVolumeSize * 16;
    const ZipAddOutcome o = add();
    ASSERT_EQ(ZipResult::Ok, o.code);
    ASSERT_GE(o.volumes, 2);
    EXPECT_EQ(options_.firstVolumeSize, fsys::file_size(dir_ / "new.z01"));
    ASSERT_EQ(0, run(dir_.path(), "zip -q -s 0 new.zip --out joined.zip"));
    EXPECT_EQ(0, run(dir_.path(), "unzip -tq joined.zip"));

    // Stopping at the next-volume question leaves nothing behind.
    fsys::remove(dir_ / "new.zip");
    fsys::remove(dir_ / "new.z01");
    events_.answer = [](MessageCode c) { return c == MessageCode::NextVolume ? ResponseNo : ResponseDefault; };
    EXPECT_EQ(ZipResult::Cancelled, add().code);
    EXPECT_FALSE(exists(dir_ / "new.zip"));
    EXPECT_FALSE(exists(dir_ / "new.z01"));
}

}  // namespace

namespace {

class OneThreadFileSystem : public StdFileSystem {
public:
    bool concurrentReads() const override { return false; }
};

// Compressing ahead on a second thread changes nothing in the archive: at every level, for
// small files (stored when deflating does not pay), large ones held whole, and ones too large
// to hold, which the writer streams, the bytes equal a one-thread run's. Data
// that does not deflate is stored on either path (the writer writes it again), so that each
// item is at most its file's size, and the archive stays whole where an item was rewritten.
TEST_F(ZipAdd, CompressingOnTwoThreadsWritesTheSameBytes) {
    writeFile(dir_ / "data/mixed.bin", binaryData(3000000, 46) + textData(500000, 47));
    const size_t huge = size_t(kWholeFileLimit) + 300000;  // streamed by the writer
    writeFile(dir_ / "data/huge.txt", textData(huge, 48));
    writeFile(dir_ / "data/noise.bin", binaryData(2000000, 60));
    writeFile(dir_ / "data/z-huge-noise.bin", binaryData(huge, 61));
    for (int i = 0; i < 8; ++i) writeFile(dir_ / ("data/many/f" + std::to_string(i) + ".txt"), textData(150000 * i, 49 + i));
    options_.itemList = "data";
    options_.recurse = true;
    for (const int level : {0, 6}) {
        SCOPED_TRACE(level);
        options_.level = level;
        options_.archivePath = dir_ / "two.zip";
        ASSERT_EQ(ZipResult::Ok, add().code);
        OneThreadFileSystem one;
        options_.archivePath = dir_ / "one.zip";
        ASSERT_EQ(ZipResult::Ok, runZipAdd(one, options_, events_).code);
        EXPECT_TRUE(readFile(dir_ / "one.zip") == readFile(dir_ / "two.zip"));
        EXPECT_EQ(0, run(dir_.path(), "unzip -tq two.zip"));
        ASSERT_EQ("", unzipTo("two.zip", "x"));
        EXPECT_EQ("", compareTrees(dir_ / "data", dir_ / "x/data"));
        UnzipOptions u;
        u.archivePath = dir_ / "two.zip";
        for (const char* name : {"data/noise.bin", "data/z-huge-noise.bin", "data/huge.txt"}) {
            u.fileSpec = name;
            const UnzipOutcome info = runUnzip(fs_, UnzipAction::NextNamedInfo, u, events_);
            ASSERT_EQ(ZipResult::Ok, info.code) << name;
            const bool noise = std::string(name).find("noise") != std::string::npos;
            EXPECT_EQ(level > 0 && !noise ? 8 : 0, info.info.method) << name;
            EXPECT_LE(info.info.compressedSize, info.info.originalSize) << name;
        }
        fsys::remove(dir_ / "one.zip");
        fsys::remove(dir_ / "two.zip");
        fsys::remove_all(dir_ / "x");
    }
    // Alone in its archive the stored copy leaves nothing of the longer deflated one behind:
    // local header, data, central record and end record, not a byte more.
    options_.level = 6;
    options_.itemList = "data/z-huge-noise.bin";
    options_.archivePath = dir_ / "alone.zip";
    ASSERT_EQ(ZipResult::Ok, add().code);
    const size_t name = std::strlen("data/z-huge-noise.bin");
    EXPECT_EQ(30 + name + huge + 46 + name + 22, fsys::file_size(dir_ / "alone.zip"));
    EXPECT_EQ(0, run(dir_.path(), "unzip -tq alone.zip"));
}

}  // namespace

namespace {

// Many runs at once, each with more large files than the process lets runs hold at once:
// every run ends, and every archive equals a one-thread run's.
TEST_F(ZipAdd, ManyRunsAtOnceWithLargeFilesEndAlike) {
    for (int i = 0; i < 3; ++i)
        writeFile(dir_ / ("big/f" + std::to_string(i) + ".txt"), textData(size_t(kSmallFileLimit) + 400000 + i, 70 + i));
    options_.itemList = "big";
    options_.recurse = true;
    options_.level = 6;
    OneThreadFileSystem one;
    options_.archivePath = dir_ / "one.zip";
    ASSERT_EQ(ZipResult::Ok, runZipAdd(one, options_, events_).code);
    constexpr int kRuns = 8;
    std::vector<ZipResult> codes(kRuns, ZipResult::WriteFailed);
    std::vector<std::thread> runs;
    for (int r = 0; r < kRuns; ++r)
        runs.emplace_back([this, r, &codes] {
            ZipAddOptions o = options_;
            o.archivePath = dir_ / ("run" + std::to_string(r) + ".zip");
            StdFileSystem fs;
            RecordingEvents events;
            codes[r] = runZipAdd(fs, o, events).code;
        });
    for (std::thread& t : runs) t.join();
    const std::string expected = readFile(dir_ / "one.zip");
    for (int r = 0; r < kRuns; ++r) {
        EXPECT_EQ(ZipResult::Ok, codes[r]) << r;
        EXPECT_TRUE(expected == readFile(dir_ / ("run" + std::to_string(r) + ".zip"))) << r;
    }
}

}  // namespace
