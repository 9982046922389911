// UTF-8 item names (flag bit 11, Info-ZIP Unicode path field) in the ANSI code page: shown and
// extracted under the converted name, refused when the code page lacks a character, kept as
// stored when an update copies the item. Python's codecs are the reference conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "tests/zipcore/disk_fixture.h"
#include "tests/zipcore/name_manifest.h"
#include "tests/zipcore/test_support.h"
#include "toolkit/zipcore/ansi_names.h"
#include "toolkit/zipcore/std_file_system.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_engine.h"
#include "toolkit/zipcore/zip_reader.h"

using namespace zipcore;
using namespace ziptest;
namespace fsys = std::filesystem;

namespace {

std::string utf8Of(uint32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s.push_back(char(cp));
    } else if (cp < 0x800) {
        s.push_back(char(0xC0 | (cp >> 6)));
        s.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        s.push_back(char(0xE0 | (cp >> 12)));
        s.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        s.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        s.push_back(char(0xF0 | (cp >> 18)));
        s.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        s.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        s.push_back(char(0x80 | (cp & 0x3F)));
    }
    return s;
}

// A Latin-1 code page, to show that the reader converts through the converter it is given.
bool utf8ToLatin1(const std::string& utf8, std::string& out) {
    out.clear();
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = utf8CharLength(&utf8[i], utf8.size() - i);
        if (n == 0 || n > 2) return false;
        const uint32_t cp = n == 1 ? uint8_t(utf8[i]) : ((uint8_t(utf8[i]) & 0x1F) << 6) | (uint8_t(utf8[i + 1]) & 0x3F);
        if (cp > 0xFF) return false;
        out.push_back(char(cp));
        i += n;
    }
    return true;
}

class Utf8Names : public DiskFixture {
protected:
    void SetUp() override {
        ASSERT_EQ(0, run(dir_.path(), wildArchives() + " utf8 names.zip names.tsv"));
        rows_ = readNameManifest(readFile(dir_ / "names.tsv"));
        ASSERT_EQ(14u, rows_.size());
        options_.archivePath = dir_ / "names.zip";
    }

    UnzipOptions options_;
    std::vector<NameManifestRow> rows_;
};

// Every code point, against Python's cp1252 codec: the same bytes where it has one, refused
// where it has none; and malformed UTF-8 is never a character.
TEST(Cp1252Names, ConversionMatchesPythonsCodec) {
    ScratchDir dir;
    ASSERT_EQ(0, run(dir.path(), "python3 -c 'import sys\n"
                                 "for cp in range(0x110000):\n"
                                 "    try: b = chr(cp).encode(\"cp1252\")\n"
                                 "    except UnicodeEncodeError: continue\n"
                                 "    print(cp, b[0])' > table.txt"));
    std::map<uint32_t, char> table;
    std::istringstream in(readFile(dir / "table.txt"));
    uint32_t cp;
    int byte;
    while (in >> cp >> byte) table[cp] = char(byte);
    ASSERT_EQ(251u, table.size());
    std::string out;
    for (cp = 0; cp < 0x110000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const auto hit = table.find(cp);
        const bool converted = utf8ToCp1252(utf8Of(cp), out);
        ASSERT_EQ(hit != table.end(), converted) << cp;
        if (converted) ASSERT_EQ(std::string(1, hit->second), out) << cp;
    }
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80", "\xFF"}) {
        EXPECT_FALSE(utf8ToCp1252(std::string("ok") + bad, out)) << bad;
        EXPECT_EQ(0u, utf8CharLength(bad, std::strlen(bad))) << bad;
    }
    EXPECT_TRUE(utf8ToCp1252("caf\xC3\xA9 \xE2\x82\xAC", out));
    EXPECT_EQ("caf\xE9 \x80", out);
}

// Names are shown converted, with the code page's missing characters marked; extraction writes
// exactly the representable items under their converted names and refuses the others with
// message 7, so no name with a missing character, and no raw UTF-8 name, reaches the disk.
TEST_F(Utf8Names, ConvertedWhereTheCodePageHasTheCharactersRefusedElsewhere) {
    std::map<std::string, std::string> expectedTree;
    size_t refused = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        options_.index = int32_t(i);
        const UnzipOutcome info = runUnzip(fs_, UnzipAction::IndexedInfo, options_, events_);
        ASSERT_EQ(ZipResult::Ok, info.code);
        EXPECT_EQ(rows_[i].cp1252, info.info.name) << i;
        EXPECT_EQ(rows_[i].data.size(), info.info.originalSize) << i;
        if (!rows_[i].representable()) {
            ++refused;
            continue;
        }
        const std::string& name = rows_[i].cp1252;
        for (size_t slash = name.find('/'); slash != std::string::npos && slash + 1 < name.size();
             slash = name.find('/', slash + 1))
            expectedTree[name.substr(0, slash + 1)] = "";
        expectedTree[name] = rows_[i].data;
    }
    ASSERT_GT(refused, 0u);

    options_.destination = dir_ / "out";
    const UnzipOutcome o = runUnzip(fs_, UnzipAction::Extract, options_, events_);
    EXPECT_EQ(ZipResult::UnsafeName, o.code);
    EXPECT_EQ(int32_t(rows_.size() - refused), o.count);
    size_t refusals = 0;
    for (const auto& m : events_.messages) {
        EXPECT_EQ(MessageCode::UnsafeName, m.first) << m.second;
        ++refusals;
    }
    EXPECT_EQ(refused, refusals);

    std::map<std::string, std::string> tree;
    for (auto& e : fsys::recursive_directory_iterator(options_.destination)) {
        const std::string rel = fsys::relative(e.path(), options_.destination).string();
        if (e.is_directory()) tree[rel + "/"] = "";
        else tree[rel] = readFile(e.path().string());
    }
    EXPECT_EQ(expectedTree, tree);
}

// The reader converts through the converter it is given, not a fixed table.
TEST_F(Utf8Names, TheReaderUsesTheConverterItIsGiven) {
    ZipArchive archive;
    archive.setNameConverter(utf8ToLatin1);
    ASSERT_EQ(ZipResult::Ok, archive.open(fs_, options_.archivePath));
    ASSERT_EQ(rows_.size(), archive.entries().size());
    size_t differ = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        EXPECT_EQ(rows_[i].latin1, archive.entries()[i].name) << i;
        if (rows_[i].latin1 != rows_[i].cp1252) ++differ;
    }
    EXPECT_GT(differ, 0u);
}

// An update copies every item with the name bytes, flag and Unicode path field it had; a new
// file whose ANSI name is an item's converted name replaces that item in its place, and new
// names are written in the ANSI code page.
TEST_F(Utf8Names, UpdateKeepsStoredNamesAndReplacesByConvertedName) {
    const std::string dump =
        "python3 -c 'import sys, zipfile\n"
        "for i in zipfile.ZipFile(sys.argv[1]).infolist():\n"
        "    raw = i.orig_filename.encode(\"utf-8\" if i.flag_bits & 0x800 else \"cp437\")\n"
        "    print(raw.hex(), i.flag_bits & 0x800, i.extra.hex(), i.CRC)' names.zip";
    ASSERT_EQ(0, run(dir_.path(), dump + " > before.txt"));
    writeFile(dir_ / "add/caf\xE9.txt", "replaced\n");
    writeFile(dir_ / "add/new\xE9.txt", "new\n");
    ZipAddOptions add;
    add.archivePath = options_.archivePath;
    add.baseFolder = dir_ / "add";
    add.itemList = "caf\xE9.txt new\xE9.txt";
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
        if (rows_[i].cp1252 == "caf\xE9.txt") {
            replaced = i;
            EXPECT_EQ(0u, after[i].find("636166e92e747874 0  ")) << after[i];
        } else {
            EXPECT_EQ(before[i], after[i]);
        }
    }
    EXPECT_NE(0u, replaced);
    EXPECT_EQ(0u, after.back().find("6e6577e92e747874 0  ")) << after.back();
    options_.index = int32_t(replaced);
    options_.charsToUnzip = 100;
    options_.fileSpec = "";
    EXPECT_EQ("replaced\n", runUnzip(fs_, UnzipAction::UnzipToString, options_, events_).unzipString);
}

}  // namespace
