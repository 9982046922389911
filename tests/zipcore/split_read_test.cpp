// Split archives (name.z01, name.z02, ..., name.zip) as Info-ZIP zip -s and the zip engine write
// them: listed, tested, extracted and unzipped to strings as their source, and the same source
// comes out of Info-ZIP's unzip of the set joined by zip -s 0. Damaged sets fail without a wrong
// file left behind.
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <map>

#include "tests/zipcore/disk_fixture.h"
#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/split_writer.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_engine.h"

using namespace zipcore;
using namespace ziptest;
namespace fsys = std::filesystem;

namespace {


// Item name -> contents ("" for folders, whose names end in '/'), as zip names a tree.
std::map<std::string, std::string> itemsOf(const std::string& parent, const std::string& folder) {
    std::map<std::string, std::string> out{{folder + "/", ""}};
    for (const auto& [rel, contents] : treeOf(parent + "/" + folder)) out[folder + "/" + rel] = contents;
    return out;
}

std::vector<std::string> volumesOf(const std::string& zip) {
    std::vector<std::string> out;
    for (int n = 1;; ++n) {
        const std::string name = volumeName(zip, n, n + 1);
        if (!exists(name)) break;
        out.push_back(name);
    }
    out.push_back(zip);
    return out;
}

class SplitRead : public DiskFixture {
protected:
    void SetUp() override {
        // Items below the 64 KiB volume size: Info-ZIP's own join misplaces the items after one
        // that runs over more than two volumes. "big" has such an item, for the engine alone.
        writeFile(dir_ / "in/src/notes.txt", textData(30000, 71));
        writeFile(dir_ / "in/src/a.bin", binaryData(60000, 72));
        writeFile(dir_ / "in/src/empty.txt", "");
        writeFile(dir_ / "in/src/sub/b.bin", binaryData(50000, 73));
        writeFile(dir_ / "in/src/sub/c.bin", binaryData(55000, 74));
        writeFile(dir_ / "in/src/sub/deep.txt", textData(5000, 75));
        writeFile(dir_ / "in/big/noise.bin", binaryData(400000, 76));
        writeFile(dir_ / "in/big/after.txt", textData(20000, 77));
    }


    // Everything the unzip functions show of the set is its source.
    void readsAs(const std::string& zip, const std::map<std::string, std::string>& expected,
                 const std::string& expectedTree) {
        UnzipOptions o;
        o.archivePath = zip;
        const UnzipOutcome count = unzip(UnzipAction::CountAll, o);
        ASSERT_EQ(ZipResult::Ok, count.code);
        ASSERT_EQ(int32_t(expected.size()), count.count);
        for (int32_t k = 0; k < count.count; ++k) {
            o.index = k;
            const UnzipOutcome info = unzip(UnzipAction::IndexedInfo, o);
            ASSERT_EQ(ZipResult::Ok, info.code);
            const auto hit = expected.find(info.info.name);
            ASSERT_NE(expected.end(), hit) << info.info.name;
            EXPECT_EQ(hit->second.size(), info.info.originalSize) << info.info.name;
            EXPECT_EQ(crcOf(hit->second), info.info.crc32) << info.info.name;
            if (info.info.isDirectory) continue;
            // A window into the item, which for the larger items crosses a volume's end.
            o.startingOffset = int32_t(hit->second.size() / 3);
            o.charsToUnzip = 45000;
            const UnzipOutcome part = unzip(UnzipAction::UnzipToString, o);
            ASSERT_EQ(ZipResult::Ok, part.code) << info.info.name;
            EXPECT_TRUE(part.unzipString == hit->second.substr(size_t(o.startingOffset), 45000)) << info.info.name;
            o.startingOffset = 0;
        }
        o.index = -1;
        o.test = true;
        const UnzipOutcome tested = unzip(UnzipAction::Extract, o);
        EXPECT_EQ(ZipResult::Ok, tested.code);
        EXPECT_EQ(count.count, tested.count);
        o.test = false;
        o.destination = zip + "-out";
        const UnzipOutcome extracted = unzip(UnzipAction::Extract, o);
        ASSERT_EQ(ZipResult::Ok, extracted.code);
        EXPECT_EQ(count.count, extracted.count);
        EXPECT_EQ("", compareTrees(expectedTree, o.destination));
    }
};

TEST_F(SplitRead, SetsOfInfoZipAndOfTheEngineReadAsTheirSource) {
    struct Producer {
        const char* what;
        const char* folder;
        std::string command;         // run in "in"; empty: the engine writes the set
        uint32_t volume, first;      // engine volume sizes
        bool infoZipJoins;
    };
    const std::vector<Producer> producers = {
        {"zip -s 64k", "src", "zip -q -r -s 64k ../NAME.zip src", 0, 0, true},
        {"zip -fz -s 64k (ZIP64 end records)", "src", "zip -q -r -fz -s 64k ../NAME.zip src", 0, 0, true},
        {"zip -s 64k, one item over seven volumes", "big", "zip -q -r -s 64k ../NAME.zip big", 0, 0, false},
        {"cut every 1000 bytes, headers and directory too", "src",
         "zip -q -r ../NAME-whole.zip src && " + wildArchives() + " split ../NAME-whole.zip ../NAME.zip 1000", 0, 0, false},
        {"engine, equal volumes", "src", "", kMinVolumeSize, 0, true},
        {"engine, a larger first volume", "src", "", kMinVolumeSize, kMinVolumeSize * 3 / 2, true},
        {"engine, one item over seven volumes", "big", "", kMinVolumeSize, 0, false},
    };
    for (size_t i = 0; i < producers.size(); ++i) {
        const Producer& p = producers[i];
        SCOPED_TRACE(p.what);
        const std::string name = "set" + std::to_string(i);
        const std::string zip = dir_ / (name + ".zip");
        if (p.command.empty()) {
            ZipAddOptions add;
            add.archivePath = zip;
            add.baseFolder = dir_ / "in";
            add.itemList = p.folder;
            add.recurse = true;
            add.volumeSize = p.volume;
            add.firstVolumeSize = p.first;
            RecordingEvents writing;  // asked before each volume
            ASSERT_EQ(ZipResult::Ok, runZipAdd(fs_, add, writing).code);
        } else {
            std::string command = p.command;
            for (size_t at; (at = command.find("NAME")) != std::string::npos;) command.replace(at, 4, name);
            ASSERT_EQ(0, run(dir_ / "in", command));
        }
        ASSERT_GE(volumesOf(zip).size(), 3u);
        const std::string expectedTree = dir_ / (name + "-expect");
        fsys::create_directories(expectedTree);
        const std::string folder = p.folder;
        fsys::copy(dir_ / ("in/" + folder), expectedTree + "/" + folder, fsys::copy_options::recursive);
        readsAs(zip, itemsOf(dir_ / "in", p.folder), expectedTree);
        if (!p.infoZipJoins) continue;
        ASSERT_EQ(0, run(dir_.path(), "zip -q -s 0 " + name + ".zip --out " + name + "-joined.zip"));
        ASSERT_EQ(0, run(dir_.path(), "unzip -q " + name + "-joined.zip -d " + name + "-unzip"));
        EXPECT_EQ("", compareTrees(expectedTree, dir_ / (name + "-unzip")));
    }
    EXPECT_TRUE(events_.messages.empty()) << events_.messages.front().second;
}

// A missing volume stops every function before it starts; a cut or foreign volume fails the
// items that touch it, and every file that is written is its item's true contents.
TEST_F(SplitRead, DamagedSetsFailWithoutAWrongFile) {
    // Another set of the same layout: its volumes fit every offset of this one.
    fsys::copy(dir_ / "in", dir_ / "other", fsys::copy_options::recursive);
    writeFile(dir_ / "other/src/a.bin", binaryData(60000, 81));
    writeFile(dir_ / "other/src/sub/b.bin", binaryData(50000, 83));
    writeFile(dir_ / "other/src/sub/c.bin", binaryData(55000, 84));
    ASSERT_EQ(0, run(dir_ / "in", "zip -q -r -s 64k ../set.zip src"));
    ASSERT_EQ(0, run(dir_ / "other", "zip -q -r -s 64k ../other.zip src"));
    const std::vector<std::string> volumes = volumesOf(dir_ / "set.zip");
    ASSERT_GE(volumes.size(), 3u);
    const std::map<std::string, std::string> source = itemsOf(dir_ / "in", "src");
    std::map<std::string, std::string> original;
    for (const std::string& v : volumes) original[v] = readFile(v);
    const std::string z02 = dir_ / "set.z02";

    UnzipOptions o;
    o.archivePath = dir_ / "set.zip";
    o.destination = dir_ / "out";
    fsys::remove(z02);
    for (UnzipAction action : {UnzipAction::CountAll, UnzipAction::Comment, UnzipAction::Extract}) {
        RecordingEvents events;
        EXPECT_EQ(ZipResult::Zip64Unsupported, runUnzip(fs_, action, o, events).code);
        ASSERT_EQ(1u, events.messages.size());
        EXPECT_EQ(MessageCode::ArchiveOpen, events.messages[0].first);
        EXPECT_NE(std::string::npos, events.messages[0].second.find(z02)) << events.messages[0].second;
    }
    EXPECT_FALSE(exists(o.destination));

    struct Damage {
        const char* what;
        std::string volume, contents;
    };
    const std::vector<Damage> damages = {
        {"middle volume cut in half", z02, original[z02].substr(0, original[z02].size() / 2)},
        {"middle volume from another set", z02, readFile(dir_ / "other.z02")},
        {"middle volume empty", z02, ""},
        {"first volume cut by one byte", dir_ / "set.z01",
         original[dir_ / "set.z01"].substr(0, original[dir_ / "set.z01"].size() - 1)},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        for (const auto& v : original) writeFile(v.first, v.second);
        writeFile(d.volume, d.contents);
        fsys::remove_all(o.destination);
        RecordingEvents events;
        const UnzipOutcome extracted = runUnzip(fs_, UnzipAction::Extract, o, events);
        EXPECT_NE(ZipResult::Ok, extracted.code);
        EXPECT_LT(extracted.count, int32_t(source.size()));
        if (fsys::exists(o.destination)) {
            for (auto& e : fsys::recursive_directory_iterator(o.destination)) {
                if (e.is_directory()) continue;
                const std::string rel = fsys::relative(e.path(), o.destination).string();
                const auto hit = source.find(rel);
                ASSERT_NE(source.end(), hit) << rel;
                EXPECT_TRUE(hit->second == readFile(e.path().string())) << rel;
            }
        }
        o.test = true;
        EXPECT_NE(ZipResult::Ok, runUnzip(fs_, UnzipAction::Extract, o, events).code);
        o.test = false;
    }
}

// The zip engine does not update a split set: the volumes stay as they were.
TEST_F(SplitRead, UpdatingASetIsRefusedAndLeavesItsVolumes) {
    ASSERT_EQ(0, run(dir_ / "in", "zip -q -r -s 64k ../set.zip src"));
    std::map<std::string, std::string> original;
    for (const std::string& v : volumesOf(dir_ / "set.zip")) original[v] = readFile(v);
    ZipAddOptions add;
    add.archivePath = dir_ / "set.zip";
    add.baseFolder = dir_ / "in";
    add.itemList = "src/notes.txt";
    EXPECT_EQ(ZipResult::Zip64Unsupported, runZipAdd(fs_, add, events_).code);
    for (const auto& v : original) EXPECT_TRUE(v.second == readFile(v.first)) << v.first;
    EXPECT_EQ(original.size(), volumesOf(dir_ / "set.zip").size());
}

}  // namespace
