// Archives and items past 4 GiB, made from sparse files. Slow (gigabytes are written and read
// back): CTest label "slow", run by `make test-slow`, not by `make test`.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/zipcore/disk_fixture.h"
#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_engine.h"

using namespace zipcore;
using namespace ziptest;
namespace fsys = std::filesystem;

namespace {


std::string readRange(const std::string& path, uint64_t at, size_t n) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(std::streamoff(at));
    std::string s(n, '\0');
    in.read(&s[0], std::streamsize(n));
    s.resize(size_t(in.gcount()));
    return s;
}

uint64_t le(const std::string& s, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes; i-- > 0;) v = (v << 8) | uint8_t(s[at + size_t(i)]);
    return v;
}

class Zip64Large : public DiskFixture {
protected:
    void sparse(const std::string& name, uint64_t size) { fsys::resize_file(make(name), size); }
    std::string make(const std::string& name) {
        writeFile(dir_ / name, "");
        return dir_ / name;
    }
    ZipResult add(const std::string& itemList, int level) {
        ZipAddOptions o;
        o.archivePath = dir_ / "big.zip";
        o.baseFolder = dir_.path();
        o.itemList = itemList;
        o.level = level;
        return runZipAdd(fs_, o, events_).code;
    }
    void expectAccepted() {
        EXPECT_EQ(0, run(dir_.path(), "unzip -tq big.zip"));
        EXPECT_EQ(0, run(dir_.path(), wildArchives() + " check big.zip"));
        EXPECT_EQ(0, run(dir_.path(), "python3 -c 'import sys, zipfile; "
                                      "sys.exit(zipfile.ZipFile(sys.argv[1]).testzip() is not None)' big.zip"));
    }
};

// Two stored 2.25 GiB items put the third item and the directory past 4 GiB: their offsets go
// into ZIP64 fields and the ZIP64 end record. The engine's reader tests and extracts the
// archive, and an update copies it past 4 GiB again.
TEST_F(Zip64Large, ArchivePastFourGiBRoundTripsAndUpdates) {
    sparse("hole1.bin", 0x90000000ull);
    sparse("hole2.bin", 0x90000000ull);
    const std::string small = textData(50000, 101);
    writeFile(dir_ / "small.txt", small);
    ASSERT_EQ(ZipResult::Ok, add("hole1.bin hole2.bin small.txt", 0));
    const uint64_t size = fsys::file_size(dir_ / "big.zip");
    ASSERT_GT(size, 0x100000000ull);
    const std::string tail = readRange(dir_ / "big.zip", size - 98, 98);
    EXPECT_EQ(std::string("PK\x06\x06", 4), tail.substr(0, 4));
    EXPECT_GT(le(tail, 48, 8), 0xFFFFFFFFull);  // directory offset
    expectAccepted();

    UnzipOptions u;
    u.archivePath = dir_ / "big.zip";
    u.test = true;
    const UnzipOutcome tested = runUnzip(fs_, UnzipAction::Extract, u, events_);
    EXPECT_EQ(ZipResult::Ok, tested.code);
    EXPECT_EQ(3, tested.count);
    u.test = false;
    u.fileSpec = "small.txt";
    u.destination = dir_ / "out";
    ASSERT_EQ(ZipResult::Ok, runUnzip(fs_, UnzipAction::Extract, u, events_).code);
    EXPECT_EQ(small, readFile(dir_ / "out/small.txt"));

    writeFile(dir_ / "later.txt", "added past 4 GiB\n");
    ASSERT_EQ(ZipResult::Ok, add("later.txt", 6));
    EXPECT_EQ(0, run(dir_.path(), "unzip -tq big.zip"));
    EXPECT_EQ(0, run(dir_.path(), wildArchives() + " check big.zip"));
    u.fileSpec = "later.txt";
    ASSERT_EQ(ZipResult::Ok, runUnzip(fs_, UnzipAction::Extract, u, events_).code);
    EXPECT_EQ("added past 4 GiB\n", readFile(dir_ / "out/later.txt"));
}

// An item of 4.5 GiB: its local header holds both sizes in a ZIP64 field, the central record
// the original size (its compressed size fits); an update keeps them so.
TEST_F(Zip64Large, ItemOfFourGiBOrMoreGetsZip64Sizes) {
    sparse("huge.bin", 0x120000000ull);
    writeFile(dir_ / "after.txt", textData(4000, 102));
    ASSERT_EQ(ZipResult::Ok, add("huge.bin after.txt", 1));
    const std::string head = readRange(dir_ / "big.zip", 0, 30 + 8 + 20);
    EXPECT_EQ(45u, le(head, 4, 2));
    EXPECT_EQ(0xFFFFFFFFull, le(head, 18, 4));
    EXPECT_EQ(0xFFFFFFFFull, le(head, 22, 4));
    EXPECT_EQ(1u, le(head, 38, 2));
    EXPECT_EQ(0x120000000ull, le(head, 42, 8));
    EXPECT_LT(le(head, 50, 8), 0xFFFFFFFFull);  // compressed size
    EXPECT_EQ(0, run(dir_.path(), "unzip -p big.zip after.txt | cmp - after.txt"));

    // An update copies the item with the ZIP64 fields it needs.
    writeFile(dir_ / "later.txt", "added after a 4.5 GiB item\n");
    ASSERT_EQ(ZipResult::Ok, add("later.txt", 6));
    EXPECT_EQ(head, readRange(dir_ / "big.zip", 0, head.size()));
    expectAccepted();
    EXPECT_EQ(0, run(dir_.path(), "unzip -p big.zip later.txt | cmp - later.txt"));
}

}  // namespace
