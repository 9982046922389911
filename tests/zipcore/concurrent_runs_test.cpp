// Runs on one folder or one archive at the same time, on threads of one process: none fails
// because of another, none loses another's update, no temporary file stays behind.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_engine.h"

using namespace zipcore;
using namespace ziptest;
namespace fsys = std::filesystem;

namespace {

bool TemporaryFilesLeft(const std::string& folder) {
    for (const auto& e : fsys::recursive_directory_iterator(folder))
        if (e.path().string().find(".~vx") != std::string::npos) return true;
    return false;
}

template <typename Job>
void RunAtOnce(int count, Job job) {
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back([&, i] {
            while (!go) std::this_thread::yield();
            job(i);
        });
    go = true;
    for (std::thread& t : threads) t.join();
}

TEST(ConcurrentRuns, ExtractionsOfOneArchiveIntoOneFolderAllSucceed) {
    ScratchDir dir;
    for (int i = 0; i < 12; ++i) writeFile(dir / ("src/f" + std::to_string(i) + ".txt"), textData(20000 + i * 997, i));
    writeFile(dir / "src/sub/big.bin", binaryData(400000, 99));
    ASSERT_EQ(0, run(dir.path(), "zip -qr test.zip src"));
    ASSERT_EQ(0, run(dir.path(), "unzip -q test.zip -d ref"));

    constexpr int kJobs = 8;
    std::vector<UnzipOutcome> outcomes(kJobs);
    RunAtOnce(kJobs, [&](int i) {
        StdFileSystem fs;
        RecordingEvents events;
        UnzipOptions options;
        options.archivePath = dir / "test.zip";
        options.destination = dir / "out";
        options.overwrite = true;
        outcomes[size_t(i)] = runUnzip(fs, UnzipAction::Extract, options, events);
    });
    for (const UnzipOutcome& o : outcomes) {
        EXPECT_EQ(ZipResult::Ok, o.code);
        EXPECT_EQ(15, o.count);  // 13 files, 2 folders
    }
    EXPECT_EQ("", compareTrees(dir / "ref", dir / "out"));
    EXPECT_FALSE(TemporaryFilesLeft(dir / "out"));
}

TEST(ConcurrentRuns, UpdatesOfOneArchiveAreNeverLost) {
    ScratchDir dir;
    constexpr int kJobs = 10;
    for (int i = 0; i < kJobs; ++i) writeFile(dir / ("in/item" + std::to_string(i) + ".txt"), textData(30000, i));
    std::vector<ZipAddOutcome> outcomes(kJobs);
    RunAtOnce(kJobs, [&](int i) {
        StdFileSystem fs;
        RecordingEvents events;
        ZipAddOptions options;
        options.archivePath = dir / "shared.zip";
        options.baseFolder = dir / "in";
        options.itemList = "item" + std::to_string(i) + ".txt";
        outcomes[size_t(i)] = runZipAdd(fs, options, events);
    });
    for (const ZipAddOutcome& o : outcomes) EXPECT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(0, run(dir.path(), "unzip -tq shared.zip"));
    StdFileSystem fs;
    RecordingEvents events;
    UnzipOptions options;
    options.archivePath = dir / "shared.zip";
    EXPECT_EQ(kJobs, runUnzip(fs, UnzipAction::CountAll, options, events).count);
    EXPECT_FALSE(TemporaryFilesLeft(dir.path()));
}

// Held by another thread, the lock makes an update wait until its host cancels; held by the
// same thread (an update started from its own update's event), it refuses at once as busy.
TEST(ConcurrentRuns, AWaitingUpdateStopsWhenItsHostCancelsANestedOneIsBusy) {
    ScratchDir dir;
    writeFile(dir / "in/a.txt", "a");
    StdFileSystem fs;
    std::atomic<bool> held{false}, release{false};
    std::thread holder([&] {
        const auto lock = fs.lockArchive(dir / "busy.zip", nullptr);
        held = lock != nullptr;
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    while (!held) std::this_thread::yield();
    struct CancellingEvents : RecordingEvents {
        bool pollCancel() override { return true; }
    } events;
    ZipAddOptions options;
    options.archivePath = dir / "busy.zip";
    options.baseFolder = dir / "in";
    options.itemList = "a.txt";
    EXPECT_EQ(ZipResult::Cancelled, runZipAdd(fs, options, events).code);
    release = true;
    holder.join();
    EXPECT_FALSE(exists(dir / "busy.zip"));

    const auto mine = fs.lockArchive(dir / "in/../busy.zip", nullptr);
    ASSERT_NE(mine, nullptr);
    RecordingEvents quiet;
    EXPECT_EQ(ZipResult::Busy, runZipAdd(fs, options, quiet).code);
    EXPECT_FALSE(exists(dir / "busy.zip"));
}

// Two links back to their own folder would make a recursive walk grow without end.
TEST(ItemListLinks, LinksToFoldersAreNeverWalked) {
    ScratchDir dir;
    writeFile(dir / "tree/a.txt", "a");
    writeFile(dir / "tree/sub/b.txt", "b");
    fsys::create_directory_symlink(dir / "tree", dir / "tree/loop1");
    fsys::create_directory_symlink(dir / "tree/sub", dir / "tree/sub/loop2");
    StdFileSystem fs;
    RecordingEvents events;
    ZipAddOptions options;
    options.archivePath = dir / "links.zip";
    options.baseFolder = dir.path();
    options.itemList = "tree";
    options.recurse = true;
    const ZipAddOutcome o = runZipAdd(fs, options, events);
    ASSERT_EQ(ZipResult::Ok, o.code);
    ASSERT_EQ(0, run(dir.path(), "unzip -Z1 links.zip > names.txt"));
    std::set<std::string> names;
    std::string all = readFile(dir / "names.txt"), line;
    for (char c : all) {
        if (c == '\n') names.insert(line), line.clear();
        else line += c;
    }
    EXPECT_EQ(names, (std::set<std::string>{"tree/", "tree/a.txt", "tree/sub/", "tree/sub/b.txt",
                                            "tree/loop1/", "tree/sub/loop2/"}));
}

}  // namespace
