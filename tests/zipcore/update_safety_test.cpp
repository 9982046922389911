// An update never loses an item: archives whose 16-bit count wrapped are read whole, and a run
// killed at any step of its publish leaves the old archive or the new one, which the next run
// recovers. Checked with Info-ZIP, 7-Zip (split sets) and Python's zipfile.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>
#include <system_error>
#include <set>

#include "tests/zipcore/disk_fixture.h"
#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/zip_engine.h"

using namespace zipcore;
using namespace ziptest;
namespace fsys = std::filesystem;

namespace {

std::set<std::string> lines(const std::string& text) {
    std::set<std::string> out;
    std::string line;
    for (char c : text) {
        if (c == '\n') out.insert(line), line.clear();
        else line += c;
    }
    return out;
}

// Names as Info-ZIP lists them, or 7-Zip for a split set (Info-ZIP's zip -s 0 joins a stored
// item that runs across volumes wrongly, its own sets too). Empty when a tool fails.
std::set<std::string> toolNames(const ScratchDir& dir, const std::string& archive, bool split) {
    if (split) {
        if (run(dir.path(), "7zz t '" + archive + "'") != 0) return {};
        if (run(dir.path(), "7zz l -ba -slt '" + archive + "' | sed -n 's/^Path = //p' > names.txt") != 0) return {};
    } else {
        if (run(dir.path(), "unzip -tq '" + archive + "'") != 0) return {};
        if (run(dir.path(), "unzip -Z1 '" + archive + "' > names.txt") != 0) return {};
    }
    return lines(readFile(dir / "names.txt"));
}

std::vector<std::string> leftovers(const ScratchDir& dir) {
    std::vector<std::string> out;
    for (const auto& e : fsys::directory_iterator(dir.path()))
        if (e.path().filename().string().find(".~vx") != std::string::npos) out.push_back(e.path().string());
    return out;
}

TEST(WrappedItemCount, EveryHeaderCountsExtractsAndSurvivesAnUpdate) {
    ScratchDir dir;
    const int kItems = 65540;  // the end record says 4
    ASSERT_EQ(0, run(dir.path(), wildArchives() + " wrapped wrapped.zip " + std::to_string(kItems)));
    StdFileSystem fs;
    RecordingEvents events;
    UnzipOptions read;
    read.archivePath = dir / "wrapped.zip";
    EXPECT_EQ(kItems, runUnzip(fs, UnzipAction::CountAll, read, events).count);
    read.test = true;
    const UnzipOutcome tested = runUnzip(fs, UnzipAction::Extract, read, events);
    EXPECT_EQ(ZipResult::Ok, tested.code);
    EXPECT_EQ(kItems, tested.count);
    // The items past the count's wrap are the ones a reader of the count alone loses.
    read.test = false;
    read.destination = dir / "out";
    read.fileSpec = "d/6553?.txt";
    const UnzipOutcome extracted = runUnzip(fs, UnzipAction::Extract, read, events);
    EXPECT_EQ(ZipResult::Ok, extracted.code);
    EXPECT_EQ(10, extracted.count);
    EXPECT_EQ("65539\n", readFile(dir / "out/d/65539.txt"));

    writeFile(dir / "added.txt", "added\n");
    ZipAddOptions add;
    add.archivePath = dir / "wrapped.zip";
    add.baseFolder = dir.path();
    add.itemList = "added.txt";
    ASSERT_EQ(ZipResult::Ok, runZipAdd(fs, add, events).code);
    const std::string count =
        "python3 -c \"import zipfile,sys; n=zipfile.ZipFile('wrapped.zip').namelist(); "
        "sys.exit(0 if len(set(n))==len(n)==65541 and 'd/65539.txt' in n and 'added.txt' in n else 1)\"";
    EXPECT_EQ(0, run(dir.path(), count));

    // Counts that agree with the headers in no way are damage, never a shorter archive.
    ASSERT_EQ(0, run(dir.path(), wildArchives() + " wrapped short.zip 65540"));
    std::string bytes = readFile(dir / "short.zip");
    bytes[bytes.size() - 14] = bytes[bytes.size() - 12] = 5;  // the end record's counts: 5, not 4
    writeFile(dir / "short.zip", bytes);
    read.archivePath = dir / "short.zip";
    EXPECT_EQ(ZipResult::ArchiveDamaged, runUnzip(fs, UnzipAction::CountAll, read, events).code);
    add.archivePath = dir / "short.zip";
    EXPECT_EQ(ZipResult::ArchiveDamaged, runZipAdd(fs, add, events).code);
    EXPECT_EQ(bytes, readFile(dir / "short.zip"));
}

// Ends the run at its n-th step that names a file (creating, renaming, replacing, removing):
// that step and every later one do nothing, as when the process is killed there. With
// `readerHolds`, the atomic replacement fails as where a reader has the archive open.
class DyingFileSystem : public StdFileSystem {
public:
    DyingFileSystem(int stepsToLive, bool readerHolds) : left_(stepsToLive), readerHolds_(readerHolds) {}
    bool died() const { return left_ < 0; }

    std::unique_ptr<WriteFile> createNew(const std::string& path) override {
        return step() ? StdFileSystem::createNew(path) : nullptr;
    }
    std::unique_ptr<WriteFile> create(const std::string& path) override {
        return step() ? StdFileSystem::create(path) : nullptr;
    }
    bool rename(const std::string& from, const std::string& to) override {
        return step() && StdFileSystem::rename(from, to);
    }
    bool renameNew(const std::string& from, const std::string& to) override {
        return step() && StdFileSystem::renameNew(from, to);
    }
    bool replace(const std::string& from, const std::string& to) override {
        if (!step()) return false;
        FileStat st;
        if (readerHolds_ && StdFileSystem::stat(to, st)) return false;
        return StdFileSystem::rename(from, to);
    }
    bool remove(const std::string& path) override { return step() && StdFileSystem::remove(path); }
    // A killed run sees nothing more, so it does not wait for the archive's readers either.
    bool stat(const std::string& path, FileStat& out) override { return !died() && StdFileSystem::stat(path, out); }

private:
    bool step() { return --left_ >= 0; }
    int left_;
    bool readerHolds_;
};

struct PublishCase {
    bool split;
    bool readerHolds;
};

class KilledPublish : public ::testing::TestWithParam<PublishCase> {};

TEST_P(KilledPublish, TheNextRunKeepsEveryOldItemAndLeavesNothingBehind) {
    const PublishCase c = GetParam();
    ScratchDir dir;
    writeFile(dir / "old1.txt", textData(3000, 1));
    writeFile(dir / "old2.txt", textData(3000, 2));
    writeFile(dir / "new.bin", binaryData(c.split ? 200000 : 3000, 3));  // 4 volumes when split
    writeFile(dir / "after.txt", "after\n");
    const std::set<std::string> old = {"old1.txt", "old2.txt"};
    bool finished = false;
    for (int steps = 0; !finished && steps < 64; ++steps) {
        SCOPED_TRACE("killed after step " + std::to_string(steps));
        for (const auto& e : fsys::directory_iterator(dir.path()))
            if (e.path().filename().string().rfind("a.z", 0) == 0) fsys::remove(e.path());
        StdFileSystem fs;
        RecordingEvents events;
        ZipAddOptions o;
        o.archivePath = dir / "a.zip";
        o.baseFolder = dir.path();
        o.itemList = "old1.txt old2.txt";
        ASSERT_EQ(ZipResult::Ok, runZipAdd(fs, o, events).code);

        if (c.split) o.volumeSize = kMinVolumeSize;
        o.itemList = "new.bin";
        DyingFileSystem dying(steps, c.readerHolds);
        const ZipResult killed = runZipAdd(dying, o, events).code;
        finished = !dying.died();
        if (finished) EXPECT_EQ(ZipResult::Ok, killed);

        // The next run recovers first. A split archive (the killed run published) is refused.
        o.itemList = "after.txt";
        o.volumeSize = 0;
        const ZipResult next = runZipAdd(fs, o, events).code;
        ASSERT_TRUE(next == ZipResult::Ok || (c.split && next == ZipResult::Zip64Unsupported)) << int(next);
        const bool isSplit = exists(dir / "a.z01");
        EXPECT_EQ(isSplit, next == ZipResult::Zip64Unsupported);
        const std::set<std::string> names = toolNames(dir, "a.zip", isSplit);
        for (const std::string& name : old) EXPECT_EQ(1u, names.count(name)) << name;
        EXPECT_EQ(next == ZipResult::Ok, names.count("after.txt") == 1);
        if (isSplit || finished) EXPECT_EQ(1u, names.count("new.bin"));
        EXPECT_EQ(std::vector<std::string>(), leftovers(dir));
        if (!isSplit) EXPECT_FALSE(exists(dir / "a.z02") || exists(dir / "a.z03"));
    }
    EXPECT_TRUE(finished);
}

INSTANTIATE_TEST_SUITE_P(Publishes, KilledPublish,
                         ::testing::Values(PublishCase{false, false}, PublishCase{false, true},
                                           PublishCase{true, false}, PublishCase{true, true}));

// An exception inside a run (memory, a thread that cannot start, anything else) ends it with
// a result and a message; the archive stays as it was and nothing is left beside it.
TEST(RunBarrier, ExceptionsEndTheRunWithAResultAndAMessage) {
    struct ThrowingFileSystem : StdFileSystem {
        std::function<void()> onList, onOpen;
        bool listFolder(const std::string& path, std::vector<FolderEntry>& out) override {
            if (onList) onList();
            return StdFileSystem::listFolder(path, out);
        }
        std::unique_ptr<ReadFile> openRead(const std::string& path) override {
            if (onOpen) onOpen();
            return StdFileSystem::openRead(path);
        }
    };
    ScratchDir dir;
    writeFile(dir / "a.txt", "a");
    ThrowingFileSystem fs;
    RecordingEvents events;
    ZipAddOptions o;
    o.archivePath = dir / "a.zip";
    o.baseFolder = dir.path();
    o.itemList = "a.txt";
    ASSERT_EQ(ZipResult::Ok, runZipAdd(fs, o, events).code);
    const std::string before = readFile(dir / "a.zip");
    o.itemList = "*.txt";
    const std::pair<std::function<void()>, ZipResult> cases[] = {
        {[] { throw std::bad_alloc(); }, ZipResult::TooLarge},
        {[] { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); },
         ZipResult::TooLarge},
        {[] { throw std::runtime_error("damage"); }, ZipResult::ArchiveDamaged},
    };
    for (const auto& c : cases) {
        fs.onList = c.first;
        RecordingEvents seen;
        EXPECT_EQ(c.second, runZipAdd(fs, o, seen).code);
        ASSERT_EQ(1u, seen.messages.size());
        EXPECT_EQ(c.second == ZipResult::TooLarge ? MessageCode::WriteFailed : MessageCode::ArchiveDamaged,
                  seen.messages[0].first);
        EXPECT_EQ(before, readFile(dir / "a.zip"));
        EXPECT_EQ(std::vector<std::string>(), leftovers(dir));
        fs.onList = nullptr;
        fs.onOpen = c.first;
        UnzipOptions u;
        u.archivePath = o.archivePath;
        u.destination = dir / "out";
        EXPECT_EQ(c.second, runUnzip(fs, UnzipAction::Extract, u, seen).code);
        fs.onOpen = nullptr;
    }
}

// The archive never adds itself, nor what runs leave beside it, whatever spelling names it.
TEST(SelfAdd, TheArchiveIsNeverAnItemOfItself) {
    ScratchDir dir;
    writeFile(dir / "in/a.txt", "a");
    writeFile(dir / "in/a.zip.~vx7", "a killed run's temporary");
    StdFileSystem fs;
    RecordingEvents events;
    ZipAddOptions o;
    o.baseFolder = dir / "in";
    o.itemList = "*";
    for (const char* spelling : {"in/a.zip", "in/./a.zip", "in/../in/a.zip", "/in//a.zip"}) {
        o.archivePath = dir / spelling;
        ASSERT_EQ(ZipResult::Ok, runZipAdd(fs, o, events).code) << spelling;
    }
    EXPECT_EQ(std::set<std::string>{"a.txt"}, toolNames(dir, "in/a.zip", false));
}

}  // namespace
