// Extraction with items inflated ahead on a helper thread ends exactly as a run on one thread:
// same files, same events in the same order, same result, also when items fail or the host
// stops the run part way.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/inflate_ahead.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"

using namespace zipcore;
using namespace ziptest;

namespace {

// The platform's file system with archive reads that only seek and read: no helper can share
// them, so the run reads every item itself.
class SequentialReads final : public StdFileSystem {
public:
    std::unique_ptr<ReadFile> openRead(const std::string& path) override {
        std::unique_ptr<ReadFile> inner = StdFileSystem::openRead(path);
        if (!inner) return nullptr;
        return std::unique_ptr<ReadFile>(new Reader(std::move(inner)));
    }

private:
    class Reader final : public ReadFile {
    public:
        explicit Reader(std::unique_ptr<ReadFile> inner) : inner_(std::move(inner)) {}
        bool read(void* buffer, size_t n, size_t& got) override { return inner_->read(buffer, n, got); }
        bool seek(uint64_t position) override { return inner_->seek(position); }
        uint64_t size() const override { return inner_->size(); }

    private:
        std::unique_ptr<ReadFile> inner_;
    };
};

struct Item {
    RawItem raw;
    std::string content;  // what a whole read gives (a broken item's is never whole)
};

Item deflated(const std::string& name, const std::string& data) {
    Item item{{name, rawDeflate(data)}, data};
    item.raw.method = 8;
    item.raw.originalSize = uint32_t(data.size());
    item.raw.crcOverride = crcOf(data);  // the archive builder would count the deflated bytes
    item.raw.useCrcOverride = true;
    return item;
}

// Many small items, empty ones, a folder, one too large to be read ahead, one whose stream
// breaks after several reads, one with a wrong CRC, one encrypted without a password.
std::vector<Item> mixedItems() {
    std::vector<Item> items;
    items.push_back({{"docs/", ""}, ""});
    for (unsigned i = 0; i < 40; ++i)
        items.push_back(deflated("docs/note" + std::to_string(i) + ".txt", textData(1000 + i * 7919, i)));
    items.push_back({{"empty.txt", ""}, ""});
    const std::string large = binaryData(4 * 1024 * 1024 + 1, 7);
    items.push_back({{"big/large.bin", large}, large});
    Item broken = deflated("broken.txt", textData(1500000, 3));
    broken.raw.data.replace(broken.raw.data.size() / 2, 64, 64, '\xFF');
    items.push_back(broken);
    Item wrongCrc = deflated("wrongcrc.txt", textData(700000, 4));
    wrongCrc.raw.crcOverride ^= 1;
    items.push_back(wrongCrc);
    Item locked{{"locked.txt", std::string(40, 'x')}, ""};
    locked.raw.flags = 1;
    items.push_back(locked);
    for (unsigned i = 0; i < 8; ++i)
        items.push_back(deflated("tail/t" + std::to_string(i) + ".txt", textData(300000 + i * 101, 50 + i)));
    return items;
}

std::string mixedArchive(const std::vector<Item>& items) {
    std::vector<RawItem> raw;
    for (const Item& item : items) raw.push_back(item.raw);
    return buildStoredArchive(raw);
}

struct RunRecord {
    UnzipOutcome outcome;
    RecordingEvents events;
    std::vector<std::pair<MessageCode, std::string>> messages;  // texts without the destination
    std::map<std::string, std::string> tree;
};

void extract(FileSystem& fs, const std::string& archive, const std::string& dest, bool lfToCrlf, int stopAt,
             RunRecord& out) {
    UnzipOptions o;
    o.archivePath = archive;
    o.destination = dest;
    o.overwrite = true;
    o.lfToCrlf = lfToCrlf;
    int seen = 0;
    out.events.cancelWhen = [&](const RecordingEvents::Status&) { return ++seen == stopAt; };
    out.outcome = runUnzip(fs, UnzipAction::Extract, o, out.events);
    out.tree = treeOf(dest);
    for (auto message : out.events.messages) {
        if (message.second.compare(0, dest.size(), dest) == 0) message.second.erase(0, dest.size());
        out.messages.push_back(message);
    }
}

void expectSameRun(const RunRecord& one, const RunRecord& two) {
    EXPECT_EQ(one.outcome.code, two.outcome.code);
    EXPECT_EQ(one.outcome.count, two.outcome.count);
    ASSERT_EQ(one.events.statuses.size(), two.events.statuses.size());
    for (size_t i = 0; i < one.events.statuses.size(); ++i) {
        const auto& a = one.events.statuses[i];
        const auto& b = two.events.statuses[i];
        EXPECT_TRUE(a.major == b.major && a.text == b.text && a.percent == b.percent) << "status " << i;
    }
    EXPECT_EQ(one.messages, two.messages);
    EXPECT_TRUE(one.tree == two.tree);
}

TEST(InflateAhead, ExtractionEndsAsOnOneThreadWhateverFailsOrStops) {
    ScratchDir dir;
    writeFile(dir / "mixed.zip", mixedArchive(mixedItems()));
    StdFileSystem helped;
    SequentialReads alone;
    const auto compare = [&](bool lfToCrlf, int stopAt) {
        SCOPED_TRACE("stop at " + std::to_string(stopAt) + (lfToCrlf ? ", LF to CRLF" : ""));
        RunRecord one, two;
        extract(alone, dir / "mixed.zip", dir / "one", lfToCrlf, stopAt, one);
        extract(helped, dir / "mixed.zip", dir / "two", lfToCrlf, stopAt, two);
        expectSameRun(one, two);
        run(dir.path(), "rm -rf one two");
        return one;
    };
    const RunRecord whole = compare(false, 0);
    EXPECT_NE(ZipResult::Ok, whole.outcome.code);
    EXPECT_EQ(3u, whole.messages.size());  // broken, wrong CRC, locked
    compare(true, 0);
    // The host stops the run at a status event: early, mid-way, near the end.
    const int statuses = int(whole.events.statuses.size());
    for (int stopAt : {3, statuses / 2, statuses - 8})
        EXPECT_EQ(ZipResult::Cancelled, compare(stopAt == 3, stopAt).outcome.code);
}

TEST(InflateAhead, HandsOverItemsAsReadWhateverTheRunPassesOver) {
    ScratchDir dir;
    const std::vector<Item> items = mixedItems();
    writeFile(dir / "mixed.zip", mixedArchive(items));
    StdFileSystem fs;
    ZipArchive archive;
    ASSERT_EQ(ZipResult::Ok, archive.open(fs, dir / "mixed.zip"));
    std::vector<size_t> all;
    for (size_t i = 0; i < archive.entries().size(); ++i) all.push_back(i);
    constexpr size_t kChunk = 64 * 1024;
    InflateAhead ahead(archive, all, "", kChunk);
    InflatedItem got;
    // The run takes every third item and passes over the rest, working a moment on each as a
    // run writes it; the helper hands over what it has read ahead, the run reads the rest.
    int handedOver = 0;
    for (size_t order = 1; order < all.size(); order += 3) {
        const Item& item = items[order];
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const bool small = item.raw.name.back() != '/' && item.raw.name != "big/large.bin";
        const bool taken = ahead.take(order, got);
        EXPECT_TRUE(small || !taken) << item.raw.name;
        if (!taken) continue;
        ++handedOver;
        size_t sum = 0;
        for (size_t n : got.chunks) {
            EXPECT_TRUE(n > 0 && n <= kChunk);
            sum += n;
        }
        EXPECT_EQ(got.data.size(), sum);
        const std::string data(got.data.begin(), got.data.end());
        if (item.raw.name == "broken.txt" || item.raw.name == "wrongcrc.txt") {
            EXPECT_NE(ZipResult::Ok, got.code);
        } else if (item.raw.name == "locked.txt") {
            EXPECT_EQ(ZipResult::BadPassword, got.code);
        } else {
            EXPECT_EQ(ZipResult::Ok, got.code) << item.raw.name;
            EXPECT_EQ(item.content, data) << item.raw.name;
        }
    }
    EXPECT_GT(handedOver, 0);
}

}  // namespace
