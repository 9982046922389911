// ZIP64 records written where, and only where, an archive needs them; self-extracting
// archives kept runnable through an update. Checked with Info-ZIP, Python's zipfile, the
// strict record check of wild_archives.py and the engine's own reader.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/zipcore/disk_fixture.h"
#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_engine.h"

using namespace zipcore;
using namespace ziptest;
namespace fsys = std::filesystem;

namespace {

const std::string kZip64End("PK\x06\x06", 4);
const std::string kZip64Locator("PK\x06\x07", 4);

class Zip64Writing : public DiskFixture {
protected:
    ZipResult add(const std::string& archive, const std::string& itemList) {
        ZipAddOptions o;
        o.archivePath = dir_ / archive;
        o.baseFolder = dir_.path();
        o.itemList = itemList;
        return runZipAdd(fs_, o, events_).code;
    }
    // Every outside reader accepts the archive.
    void expectAccepted(const std::string& archive) {
        EXPECT_EQ(0, run(dir_.path(), "unzip -tq '" + archive + "' >&2"));
        EXPECT_EQ(0, run(dir_.path(), wildArchives() + " check '" + archive + "' >&2"));
        EXPECT_EQ(0, run(dir_.path(), "python3 -c 'import sys, zipfile; "
                                      "sys.exit(zipfile.ZipFile(sys.argv[1]).testzip() is not None)' '" +
                                          archive + "'"));
    }
    int32_t countItems(const std::string& archive) {
        UnzipOptions u;
        u.archivePath = dir_ / archive;
        const UnzipOutcome o = unzip(UnzipAction::CountAll, u);
        return o.code == ZipResult::Ok ? o.count : -1;
    }
};

// The 16-bit count holds up to 65534 items; at 65535 (its marker value) the ZIP64 end record
// and locator carry the count. Each step is an update that copies all items written before.
TEST_F(Zip64Writing, ItemCountMovesIntoTheZip64EndRecordAtTheMarkerValue) {
    ASSERT_EQ(0, run(dir_.path(), "python3 -c 'import zipfile\n"
                                  "with zipfile.ZipFile(\"many.zip\", \"w\") as z:\n"
                                  "    for i in range(65533): z.writestr(\"d%d/f%d.txt\" % (i % 7, i), str(i))'"));
    for (int i = 1; i <= 3; ++i) writeFile(dir_ / ("added" + std::to_string(i) + ".txt"), textData(3000, 70 + i));

    ASSERT_EQ(ZipResult::Ok, add("many.zip", "added1.txt"));
    std::string bytes = readFile(dir_ / "many.zip");
    EXPECT_EQ(std::string::npos, bytes.find(kZip64End, bytes.size() - 200));
    EXPECT_EQ(65534, countItems("many.zip"));

    ASSERT_EQ(ZipResult::Ok, add("many.zip", "added2.txt"));
    bytes = readFile(dir_ / "many.zip");
    const size_t end = bytes.size() - 22;
    ASSERT_EQ(std::string("PK\x05\x06", 4), bytes.substr(end, 4));
    EXPECT_EQ(std::string("\xFF\xFF\xFF\xFF", 4), bytes.substr(end + 8, 4));  // both counts marked
    EXPECT_EQ(kZip64Locator, bytes.substr(end - 20, 4));
    EXPECT_EQ(kZip64End, bytes.substr(end - 20 - 56, 4));
    EXPECT_EQ(65535, countItems("many.zip"));

    // The engine reads its own ZIP64 archive back to update it once more.
    ASSERT_EQ(ZipResult::Ok, add("many.zip", "added3.txt"));
    EXPECT_EQ(65536, countItems("many.zip"));
    expectAccepted("many.zip");
    ASSERT_EQ(0, run(dir_.path(), "unzip -q many.zip 'added*' 'd2/f65529.txt' -d x"));
    for (int i = 1; i <= 3; ++i) {
        const std::string name = "added" + std::to_string(i) + ".txt";
        EXPECT_EQ(readFile(dir_ / name), readFile(dir_ / ("x/" + name)));
    }
    EXPECT_EQ("65529", readFile(dir_ / "x/d2/f65529.txt"));
    EXPECT_TRUE(events_.messages.empty());
}

// A self-extractor (Info-ZIP's unzipsfx for this system) with an archive appended, with and
// without the offsets adjusted by zip -A: after an update the program is kept byte for byte,
// the offsets count from the start of the file, and the program extracts the added item too.
TEST_F(Zip64Writing, UpdatedSelfExtractorKeepsItsProgramAndStillExtracts) {
    const std::string stub = readFile("/usr/bin/unzipsfx");
    ASSERT_FALSE(stub.empty());
    writeFile(dir_ / "src/readme.txt", textData(20000, 81));
    writeFile(dir_ / "src/sub/data.bin", binaryData(50000, 82));
    writeFile(dir_ / "src/added.txt", "added by the update\n");
    ASSERT_EQ(0, run(dir_ / "src", "zip -q -r ../base.zip readme.txt sub"));
    for (const bool adjusted : {true, false}) {
        SCOPED_TRACE(adjusted ? "zip -A" : "plain concatenation");
        writeFile(dir_ / "sfx", stub + readFile(dir_ / "base.zip"));
        if (adjusted) ASSERT_EQ(0, run(dir_.path(), "zip -qA sfx"));
        // Info-ZIP warns (exit 1) about the stub's bytes when the offsets do not count them.
        EXPECT_EQ(adjusted ? 0 : 1, run(dir_.path(), "unzip -tqq sfx >/dev/null 2>&1"));

        ZipAddOptions o;
        o.archivePath = dir_ / "sfx";
        o.baseFolder = dir_ / "src";
        o.itemList = "added.txt";
        ASSERT_EQ(ZipResult::Ok, runZipAdd(fs_, o, events_).code);
        const std::string updated = readFile(dir_ / "sfx");
        EXPECT_EQ(stub, updated.substr(0, stub.size()));
        expectAccepted("sfx");
        EXPECT_EQ(3 + 1, countItems("sfx"));  // sub/ is an item too

        fsys::remove_all(dir_ / "out");
        fsys::create_directories(dir_ / "out");
        ASSERT_EQ(0, run(dir_.path(), "chmod +x sfx && cd out && ../sfx -q"));
        EXPECT_EQ("", compareTrees(dir_ / "src", dir_ / "out"));
        UnzipOptions u;
        u.archivePath = dir_ / "sfx";
        u.destination = dir_ / "ours";
        ASSERT_EQ(ZipResult::Ok, runUnzip(fs_, UnzipAction::Extract, u, events_).code);
        EXPECT_EQ("", compareTrees(dir_ / "src", dir_ / "ours"));
        fsys::remove_all(dir_ / "ours");
    }
}

// Volumes cannot carry the program: an update that would split a self-extractor is refused and
// leaves every byte and no volume behind; one that fits a volume keeps the program.
TEST_F(Zip64Writing, SelfExtractorIsNeverSplitIntoVolumes) {
    const std::string stub = readFile("/usr/bin/unzipsfx");
    ASSERT_GT(stub.size(), kMinVolumeSize);
    writeFile(dir_ / "src/readme.txt", textData(20000, 83));
    ASSERT_EQ(0, run(dir_ / "src", "zip -q ../base.zip readme.txt"));
    writeFile(dir_ / "sfx", stub + readFile(dir_ / "base.zip"));
    ASSERT_EQ(0, run(dir_.path(), "zip -qA sfx"));
    const std::string original = readFile(dir_ / "sfx");
    const size_t filesBefore = std::distance(fsys::directory_iterator(dir_.path()), fsys::directory_iterator());
    writeFile(dir_ / "src/added.bin", binaryData(3 * kMinVolumeSize, 84));

    ZipAddOptions o;
    o.archivePath = dir_ / "sfx";
    o.baseFolder = dir_ / "src";
    o.itemList = "added.bin";
    o.volumeSize = kMinVolumeSize;
    EXPECT_EQ(ZipResult::Zip64Unsupported, runZipAdd(fs_, o, events_).code);
    EXPECT_EQ(original, readFile(dir_ / "sfx"));
    EXPECT_EQ(filesBefore, static_cast<size_t>(std::distance(fsys::directory_iterator(dir_.path()),
                                                             fsys::directory_iterator())));
    ASSERT_FALSE(events_.messages.empty());
    EXPECT_EQ(MessageCode::ArchiveDamaged, events_.messages.back().first);

    o.volumeSize = 64 * kMinVolumeSize;
    ASSERT_EQ(ZipResult::Ok, runZipAdd(fs_, o, events_).code);
    EXPECT_EQ(stub, readFile(dir_ / "sfx").substr(0, stub.size()));
    expectAccepted("sfx");
}

// Small archives carry no ZIP64 record or field at all, also after updating archives whose
// items had ZIP64 fields they did not need.
TEST_F(Zip64Writing, SmallArchivesHaveNoZip64Fields) {
    writeFile(dir_ / "in/src/a.txt", textData(30000, 91));
    writeFile(dir_ / "in/src/b.bin", binaryData(3000, 92));
    writeFile(dir_ / "added.txt", binaryData(1500000, 93));  // streamed in
    ASSERT_EQ(0, run(dir_ / "in", wildArchives() + " python-zip64-all src ../all.zip"));
    ASSERT_EQ(ZipResult::Ok, add("all.zip", "added.txt"));
    const std::string bytes = readFile(dir_ / "all.zip");
    EXPECT_EQ(std::string::npos, bytes.find(kZip64End));
    EXPECT_EQ(std::string::npos, bytes.find(kZip64Locator));
    EXPECT_EQ(0, run(dir_.path(), "zipinfo -v all.zip | grep -q '64-bit sizes' && exit 1 || exit 0"));
    expectAccepted("all.zip");
}

}  // namespace
