// Item names as other tools read them: UTF-8 under flag bit 11 or in an Info-ZIP Unicode path
// field, legacy bytes by the host that wrote them (OEM code page 437 here, UTF-8 from Unix
// when it is UTF-8); names are extracted exactly, and an update keeps stored names. Python's
// codecs wrote the reference names.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "tests/zipcore/disk_fixture.h"
#include "tests/zipcore/name_manifest.h"
#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/name_coding.h"
#include "toolkit/zipcore/name_parts.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_engine.h"
#include "toolkit/zipcore/zip_reader.h"

using namespace zipcore;
using namespace ziptest;
namespace fsys = std::filesystem;

namespace {

class Utf8Names : public DiskFixture {
protected:
    void SetUp() override {
        ASSERT_EQ(0, run(dir_.path(), wildArchives() + " utf8 names.zip names.tsv"));
        rows_ = readNameManifest(readFile(dir_ / "names.tsv"));
        ASSERT_EQ(18u, rows_.size());
        options_.archivePath = dir_ / "names.zip";
    }

    UnzipOptions options_;
    std::vector<NameManifestRow> rows_;
};

// Every item shows the name the other tools read and is extracted under exactly that name.
TEST_F(Utf8Names, ShownAndExtractedUnderTheNameOtherToolsRead) {
    std::map<std::string, std::string> expectedTree;
    for (size_t i = 0; i < rows_.size(); ++i) {
        options_.index = int32_t(i);
        const UnzipOutcome info = runUnzip(fs_, UnzipAction::IndexedInfo, options_, events_);
        ASSERT_EQ(ZipResult::Ok, info.code);
        EXPECT_EQ(rows_[i].name, info.info.name) << i;
        const std::string& name = rows_[i].name;
        for (size_t slash = name.find('/'); slash != std::string::npos && slash + 1 < name.size();
             slash = name.find('/', slash + 1))
            expectedTree[name.substr(0, slash + 1)] = "";
        expectedTree[name] = rows_[i].data;
    }
    options_.destination = dir_ / "out";
    const UnzipOutcome o = runUnzip(fs_, UnzipAction::Extract, options_, events_);
    EXPECT_EQ(ZipResult::Ok, o.code);
    EXPECT_EQ(int32_t(rows_.size()), o.count);
    EXPECT_TRUE(events_.messages.empty());
    std::map<std::string, std::string> tree;
    for (auto& e : fsys::recursive_directory_iterator(options_.destination)) {
        const std::string rel = fsys::relative(e.path(), options_.destination).string();
        if (e.is_directory()) tree[rel + "/"] = "";
        else tree[rel] = readFile(e.path().string());
    }
    EXPECT_EQ(expectedTree, tree);
}

// Bytes that are no UTF-8 under flag bit 11 are never written to disk.
TEST(Utf8NameBytes, MalformedUtf8IsMarkedAndLegacyBytesDecode) {
    EXPECT_EQ("ok\x1A\x1A", validUtf8Name("ok\xC0\xAF"));
    EXPECT_EQ("a\x1A" "b", validUtf8Name("a\xED" "b"));
    EXPECT_EQ("caf\xC3\xA9", legacyItemName("caf\x82", kHostMsDos));
    EXPECT_EQ("caf\xC3\xA9", legacyItemName("caf\xC3\xA9", 3));
    EXPECT_EQ("caf\xE2\x94\x9C\xE2\x8C\x90", legacyItemName("caf\xC3\xA9", kHostNtfs));
}

// Folding agrees with Python's lower() wherever it folds, and folds the capitals of Latin-1,
// Latin Extended-A, Greek and Cyrillic.
TEST(Utf8NameBytes, CaseFoldingAgreesWithPython) {
    ScratchDir dir;
    ASSERT_EQ(0, run(dir.path(), "python3 -c 'for cp in range(0x80, 0x800): print(cp, ord(chr(cp).lower()) "
                                 "if len(chr(cp).lower()) == 1 else cp)' > lower.txt"));
    std::istringstream in(readFile(dir / "lower.txt"));
    uint32_t cp = 0, lower = 0;
    int folded = 0;
    while (in >> cp >> lower) {
        std::string one, expected;
        appendUtf8(one, cp);
        appendUtf8(expected, lower);
        const std::string got = foldCase(one);
        ASSERT_TRUE(got == one || got == expected) << cp;
        folded += got != one;
        const bool wanted = (cp >= 0xC0 && cp <= 0x17F) || (cp >= 0x386 && cp <= 0x3AB) || (cp >= 0x400 && cp <= 0x42F);
        if (wanted && expected.size() == one.size()) EXPECT_EQ(expected, got) << cp;
    }
    EXPECT_GT(folded, 200);
}

// An update copies every item with the name bytes, flag and Unicode path field it had; a new
// file whose name is an item's name replaces that item in its place, and new names outside
// ASCII are written in UTF-8 with flag bit 11.
TEST_F(Utf8Names, UpdateKeepsStoredNamesAndReplacesByName) {
    const std::string dump =
        "python3 -c 'import sys, zipfile\n"
        "for i in zipfile.ZipFile(sys.argv[1]).infolist():\n"
        "    raw = i.orig_filename.encode(\"utf-8\" if i.flag_bits & 0x800 else \"cp437\")\n"
        "    print(raw.hex(), i.flag_bits & 0x800, i.extra.hex(), i.CRC)' names.zip";
    ASSERT_EQ(0, run(dir_.path(), dump + " > before.txt"));
    writeFile(dir_ / "add/caf\xC3\xA9.txt", "replaced\n");
    writeFile(dir_ / "add/new\xE2\x82\xAC.txt", "new\n");
    ZipAddOptions add;
    add.archivePath = options_.archivePath;
    add.baseFolder = dir_ / "add";
    add.itemList = "caf\xC3\xA9.txt new\xE2\x82\xAC.txt";
    ASSERT_EQ(ZipResult::Ok, runZipAdd(fs_, add, events_).code);
    ASSERT_EQ(0, run(dir_.path(), dump + " > after.txt"));
    EXPECT_EQ(0, run(dir_.path(), "unzip -tq names.zip"));
    EXPECT_EQ(0, run(dir_.path(), wildArchives() + " check names.zip >&2"));

    std::vector<std::string> before, after;
    std::istringstream b(readFile(dir_ / "before.txt")), a(readFile(dir_ / "after.txt"));
    for (std::string line; std::getline(b, line);) before.push_back(line);
    for (std::string line; std::getline(a, line);) after.push_back(line);
    ASSERT_EQ(rows_.size(), before.size());
    ASSERT_EQ(before.size() + 1, after.size());
    size_t replaced = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (rows_[i].name == "caf\xC3\xA9.txt") {
            replaced = i;
            EXPECT_EQ(0u, after[i].find("636166c3a92e747874 2048  ")) << after[i];
        } else {
            EXPECT_EQ(before[i], after[i]);
        }
    }
    EXPECT_NE(0u, replaced);
    EXPECT_EQ(0u, after.back().find("6e6577e282ac2e747874 2048  ")) << after.back();
    options_.index = int32_t(replaced);
    options_.charsToUnzip = 100;
    options_.fileSpec = "";
    EXPECT_EQ("replaced\n", runUnzip(fs_, UnzipAction::UnzipToString, options_, events_).unzipString);
}

}  // namespace
