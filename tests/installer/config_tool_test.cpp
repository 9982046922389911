#include "installer/config_image.h"
#include "installer/config_tool.h"
#include "installer/pe_sections.h"
#include "skerrit/panel/dib.h"
#include "skerrit/startup/config_block.h"
#include "skerrit/startup/find_in_file.h"
#include "tests/installer/test_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

using namespace config_layout;

// The block as the uninstaller would find it in `image`: the second marker.
std::unique_ptr<ConfigBlock> LocateLikeTheUninstaller(const std::vector<std::uint8_t>& image) {
    auto read_at = [&](std::int64_t offset, char* buffer, std::size_t size) -> std::size_t {
        if (offset < 0 || static_cast<std::size_t>(offset) >= image.size()) return 0;
        const std::size_t n = std::min(size, image.size() - static_cast<std::size_t>(offset));
        std::memcpy(buffer, image.data() + offset, n);
        return n;
    };
    const std::int64_t key = FindInStream(read_at, 0, kConfigMarker, false);
    if (key < 0) return nullptr;
    const std::int64_t start = FindInStream(read_at, key + 16, kConfigMarker, false);
    if (start < 0) return nullptr;
    const std::uint32_t length = ReadLe32(image.data() + start + kLengthOffset);
    if (start + length > image.size()) return nullptr;
    return ConfigBlock::FromBytes(std::vector<std::uint8_t>(image.begin() + start, image.begin() + start + length));
}

class ConfigToolTest : public ::testing::Test {
protected:
    ConfigToolTest() {
        files_["app.exe"] = test_image::MakeImage();
        tool_files_.read = [this](const std::string& path, std::vector<std::uint8_t>& bytes) {
            auto it = files_.find(path);
            if (it == files_.end()) return false;
            bytes = it->second;
            return true;
        };
        tool_files_.replace = [this](const std::string& path, const std::vector<std::uint8_t>& bytes) {
            if (fail_writes_) return false;
            files_[path] = bytes;
            return true;
        };
    }
    int Run(std::vector<std::string> args) {
        out_.clear();
        err_.clear();
        return RunConfigTool(args, tool_files_, out_, err_);
    }
    std::unique_ptr<ConfigBlock> Block() { return LocateLikeTheUninstaller(files_["app.exe"]); }

    std::map<std::string, std::vector<std::uint8_t>> files_;
    ToolFiles tool_files_;
    bool fail_writes_ = false;
    std::string out_;
    std::string err_;
};

TEST_F(ConfigToolTest, DumpShowsEveryRecordAndField) {
    ASSERT_EQ(Run({"dump", "app.exe"}), 0) << err_;
    EXPECT_NE(out_.find("marker: present"), std::string::npos);
    EXPECT_NE(out_.find("[record 7]"), std::string::npos);
    EXPECT_NE(out_.find("title: Varnex-AX Uninstaller - Shared File"), std::string::npos);
    EXPECT_NE(out_.find("menu: &About Tavrin Uninstaller..."), std::string::npos);
    EXPECT_NE(out_.find("\\r\\n"), std::string::npos) << "line breaks are shown escaped";
    EXPECT_NE(out_.find("placement: 12"), std::string::npos);
}

TEST_F(ConfigToolTest, SetTextFlagsAndPlacementAreSeenByTheUninstallersSearch) {
    ASSERT_EQ(Run({"set-text", "app.exe", "3", "button1", "Fine"}), 0) << err_;
    files_["msg.txt"] = {'a', '\r', '\n', 'b'};
    ASSERT_EQ(Run({"set-text-file", "app.exe", "0", "message", "msg.txt"}), 0) << err_;
    ASSERT_EQ(Run({"set-flags", "app.exe", "0", "0x1"}), 0) << err_;
    ASSERT_EQ(Run({"set-placement", "app.exe", "0", "100"}), 0) << err_;
    const auto block = Block();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->Text(3, ConfigField::FirstButton), "Fine");
    EXPECT_EQ(block->Text(0, ConfigField::Message), "a\r\nb");
    EXPECT_EQ(block->Flags(0), 1u);
    EXPECT_EQ(block->Placement(0), 100u);
    EXPECT_EQ(block->Text(3, ConfigField::Title), "Varnex-AX Uninstaller - Cancelled");
    ASSERT_EQ(Run({"set-text", "app.exe", "3", "button1", ""}), 0);
    EXPECT_EQ(Block()->Text(3, ConfigField::FirstButton), "");
}

TEST_F(ConfigToolTest, RefusesBadInputAndLeavesTheFileAlone) {
    const auto before = files_["app.exe"];
    EXPECT_EQ(Run({}), 1);
    EXPECT_EQ(Run({"frobnicate", "app.exe"}), 1);
    EXPECT_EQ(Run({"set-text", "app.exe", "3"}), 1);
    EXPECT_EQ(Run({"set-text", "app.exe", "8", "title", "x"}), 2);
    EXPECT_NE(err_.find("0 to 7"), std::string::npos);
    EXPECT_EQ(Run({"set-text", "app.exe", "0", "colour", "x"}), 2);
    EXPECT_EQ(Run({"set-text", "app.exe", "0", "button1", std::string(32, 'x')}), 2);
    EXPECT_NE(err_.find("at most 31"), std::string::npos);
    EXPECT_EQ(Run({"set-text", "app.exe", "0", "title", "see Config Marker"}), 2);
    EXPECT_EQ(Run({"set-flags", "app.exe", "0", "-1"}), 2);
    EXPECT_EQ(Run({"set-placement", "app.exe", "0", "65536"}), 2);
    EXPECT_EQ(Run({"set-flags", "app.exe", "0", "0x"}), 2);
    EXPECT_EQ(Run({"dump", "missing.exe"}), 2);
    files_["notpe.exe"] = std::vector<std::uint8_t>(300, 'x');
    EXPECT_EQ(Run({"dump", "notpe.exe"}), 2);
    EXPECT_NE(err_.find("MZ"), std::string::npos);
    fail_writes_ = true;
    EXPECT_EQ(Run({"set-flags", "app.exe", "0", "1"}), 2);
    EXPECT_EQ(files_["app.exe"], before);
    EXPECT_EQ(Run({"set-text", "app.exe", "31", "title", "x"}), 2) << "records are 0 to 7 even as digits";
}

TEST_F(ConfigToolTest, RemovedMarkerHidesTheBlockFromTheUninstallerOnly) {
    ASSERT_EQ(Run({"remove-marker", "app.exe"}), 0);
    EXPECT_EQ(Block(), nullptr);
    ASSERT_EQ(Run({"dump", "app.exe"}), 0);
    EXPECT_NE(out_.find("marker: removed"), std::string::npos);
    EXPECT_NE(out_.find("title: Varnex-AX Uninstaller"), std::string::npos);
    ASSERT_EQ(Run({"restore-marker", "app.exe"}), 0);
    EXPECT_NE(Block(), nullptr);
}

TEST_F(ConfigToolTest, PicturesAreAppendedReplacedAndRemoved) {
    files_["a.bmp"] = test_image::MakeBmpFile(test_image::MakePackedDib(1));
    files_["b.bmp"] = test_image::MakeBmpFile(test_image::MakePackedDib(2), 6);  // gap before pixels
    ASSERT_EQ(Run({"attach-picture", "app.exe", "0", "a.bmp"}), 0) << err_;
    ASSERT_EQ(Run({"attach-picture", "app.exe", "2", "b.bmp"}), 0) << err_;
    auto block = Block();
    ASSERT_NE(block, nullptr);
    const auto dib_a = test_image::MakePackedDib(1);
    const auto dib_b = test_image::MakePackedDib(2);
    PictureBytes a = block->Picture(0);
    PictureBytes b = block->Picture(2);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(block->PictureOffset(0), 20116u);
    EXPECT_EQ(std::memcmp(a.data, dib_a.data(), dib_a.size()), 0);
    EXPECT_EQ(std::memcmp(b.data, dib_b.data(), dib_b.size()), 0);

    // Replacing record 0's picture keeps record 2's and does not grow without bound.
    const std::uint32_t length_before = static_cast<std::uint32_t>(block->Bytes().size());
    ASSERT_EQ(Run({"attach-picture", "app.exe", "0", "b.bmp"}), 0) << err_;
    block = Block();
    EXPECT_EQ(block->Bytes().size(), length_before);
    EXPECT_EQ(std::memcmp(block->Picture(0).data, dib_b.data(), dib_b.size()), 0);
    EXPECT_EQ(std::memcmp(block->Picture(2).data, dib_b.data(), dib_b.size()), 0);

    ASSERT_EQ(Run({"remove-picture", "app.exe", "0"}), 0);
    ASSERT_EQ(Run({"remove-picture", "app.exe", "2"}), 0);
    block = Block();
    EXPECT_EQ(block->Bytes().size(), 20116u);
    EXPECT_FALSE(block->Picture(0));
}

TEST_F(ConfigToolTest, RunLengthPicturesAreStoredWhole) {
    const auto stated = test_image::MakeRunLengthPackedDib(true);
    const auto open = test_image::MakeRunLengthPackedDib(false);
    files_["stated.bmp"] = test_image::MakeBmpFile(stated, 6);
    files_["open.bmp"] = test_image::MakeBmpFile(open, 3);  // the stream runs to the file's end
    files_["a.bmp"] = test_image::MakeBmpFile(test_image::MakePackedDib(1));
    ASSERT_EQ(Run({"attach-picture", "app.exe", "0", "stated.bmp"}), 0) << err_;
    ASSERT_EQ(Run({"attach-picture", "app.exe", "1", "open.bmp"}), 0) << err_;
    ASSERT_EQ(Run({"attach-picture", "app.exe", "2", "a.bmp"}), 0) << err_;
    auto block = Block();
    ASSERT_NE(block, nullptr);
    // Pictures follow each other at 4-byte steps: each takes its whole stream.
    EXPECT_EQ(block->PictureOffset(0), 20116u);
    EXPECT_EQ(block->PictureOffset(1), 20116u + 68u);
    EXPECT_EQ(block->PictureOffset(2), 20116u + 68u + 68u);
    EXPECT_EQ(std::memcmp(block->Picture(0).data, stated.data(), stated.size()), 0);
    // The open length is recorded, so the stream stops before the next picture.
    EXPECT_EQ(std::memcmp(block->Picture(1).data, stated.data(), stated.size()), 0);
    DibLayout layout;
    ASSERT_TRUE(ParsePackedDib(block->Picture(1).data, block->Picture(1).size, layout));
    EXPECT_EQ(layout.compression, DibCompression::Rle8);
    EXPECT_EQ(layout.pixelBytes, 18u);
    ASSERT_EQ(Run({"validate", "app.exe"}), 0) << err_;

    // Rebuilding the picture area moves the run-length pictures whole, and only them.
    const std::size_t length_before = block->Bytes().size();
    ASSERT_EQ(Run({"attach-picture", "app.exe", "2", "a.bmp"}), 0) << err_;
    block = Block();
    EXPECT_EQ(block->Bytes().size(), length_before);
    EXPECT_EQ(std::memcmp(block->Picture(1).data, stated.data(), stated.size()), 0);

    // A stated length past the file, or a stream past the file header's pixel offset, is refused.
    auto too_long = stated;
    test_image::Put32(too_long, 20, 19);
    files_["long.bmp"] = test_image::MakeBmpFile(too_long);
    EXPECT_EQ(Run({"attach-picture", "app.exe", "3", "long.bmp"}), 2);
    auto no_stream = test_image::MakeBmpFile(open, 3);
    test_image::Put32(no_stream, 10, static_cast<std::uint32_t>(no_stream.size()));
    files_["none.bmp"] = no_stream;
    EXPECT_EQ(Run({"attach-picture", "app.exe", "3", "none.bmp"}), 2);
    EXPECT_NE(err_.find("outside the file"), std::string::npos) << err_;
}

TEST_F(ConfigToolTest, PictureRefusedWhenDamagedOrTooLargeForTheRoom) {
    auto broken = test_image::MakeBmpFile(test_image::MakePackedDib());
    broken.resize(broken.size() - 2);
    files_["broken.bmp"] = broken;
    files_["text.bmp"] = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(Run({"attach-picture", "app.exe", "0", "broken.bmp"}), 2);
    EXPECT_EQ(Run({"attach-picture", "app.exe", "0", "text.bmp"}), 2);
    EXPECT_NE(err_.find("BM"), std::string::npos);

    files_["small.exe"] = test_image::MakeImage(8);
    files_["a.bmp"] = test_image::MakeBmpFile(test_image::MakePackedDib());
    const auto before = files_["small.exe"];
    EXPECT_EQ(Run({"attach-picture", "small.exe", "0", "a.bmp"}), 2);
    EXPECT_NE(err_.find("room"), std::string::npos);
    EXPECT_EQ(files_["small.exe"], before);
}

TEST_F(ConfigToolTest, ValidateNamesWhatKeepsTheUninstallerFromTheBlock) {
    ASSERT_EQ(Run({"validate", "app.exe"}), 0) << err_;
    EXPECT_EQ(out_, "valid\n");

    files_["nokey.exe"] = test_image::MakeImage(4096, false);
    EXPECT_EQ(Run({"validate", "nokey.exe"}), 2);
    EXPECT_NE(err_.find("search key"), std::string::npos);

    auto damaged = test_image::MakeImage();
    const std::size_t block = test_image::kSectionOffset + 12;
    std::memset(&damaged[block + kHeaderSize + 3 * kRecordSize + 1088], 'x', 32);  // record 3 button1
    WriteLe32(&damaged[block + kHeaderSize + kPictureOffsetField], 20116 + 50);    // record 0 picture
    files_["damaged.exe"] = damaged;
    EXPECT_EQ(Run({"validate", "damaged.exe"}), 2);
    EXPECT_NE(err_.find("record 3 button1 has no terminating NUL"), std::string::npos) << err_;
    EXPECT_NE(err_.find("record 0's picture"), std::string::npos) << err_;

    ASSERT_EQ(Run({"remove-marker", "app.exe"}), 0);
    EXPECT_EQ(Run({"validate", "app.exe"}), 2);
    EXPECT_NE(err_.find("marker is removed"), std::string::npos);
}

TEST(PeSections, RejectsSectionsOutsideTheFile) {
    auto image = test_image::MakeImage();
    std::vector<PeSection> sections;
    std::string error;
    ASSERT_TRUE(ReadPeSections(image, sections, error)) << error;
    ASSERT_NE(FindPeSection(sections, "tvconfig"), nullptr);
    EXPECT_EQ(FindPeSection(sections, "tvconfig")->file_offset, test_image::kSectionOffset);
    image.resize(image.size() - 200);  // raw data now runs past the end
    EXPECT_FALSE(ReadPeSections(image, sections, error));
    auto count_lie = test_image::MakeImage();
    test_image::Put16(count_lie, 0x46, 0xFFFF);
    EXPECT_FALSE(ReadPeSections(count_lie, sections, error));
}

}  // namespace
