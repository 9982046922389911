#include "corvane/job_settings.h"

#include "framework/vxcontrols_ids.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// A control's dispatch as a plain store that records every put in order.
class RecordingControl : public corvane::PropertyBag {
public:
    struct Put {
        std::int32_t dispid;
        char type; // 's', 'b', '2', '4'
        std::int32_t number;
        std::string text;
    };

    void PutString(std::int32_t id, const std::string& v) override
    {
        puts.push_back({id, 's', 0, v});
        texts[id] = v;
    }
    void PutBool(std::int32_t id, bool v) override { Store(id, 'b', v ? -1 : 0); }
    void PutI2(std::int32_t id, std::int16_t v) override { Store(id, '2', v); }
    void PutI4(std::int32_t id, std::int32_t v) override { Store(id, '4', v); }
    std::int32_t GetI4(std::int32_t id) override
    {
        reads.push_back(id);
        return numbers[id];
    }

    std::vector<std::int32_t> Order() const
    {
        std::vector<std::int32_t> order;
        for (const Put& p : puts)
            order.push_back(p.dispid);
        return order;
    }

    std::vector<Put> puts;
    std::vector<std::int32_t> reads;
    std::map<std::int32_t, std::int32_t> numbers;
    std::map<std::int32_t, std::string> texts;

private:
    void Store(std::int32_t id, char type, std::int32_t v)
    {
        puts.push_back({id, type, v, ""});
        numbers[id] = v;
    }
};

corvane::UnzipJobSettings UnzipSettings(bool external)
{
    corvane::UnzipJobSettings s;
    s.archivePath = "c:\\a.zip";
    s.fileSpec = "*.txt \"long name.doc\"";
    s.destination = "c:\\out";
    s.recurse = true;
    s.externalProgress = external;
    return s;
}

corvane::ZipJobSettings ZipSettings(bool external, bool multiVolume, bool cdFirst)
{
    corvane::ZipJobSettings s;
    s.archivePath = "c:\\b.zip";
    s.itemList = "c:\\*.bat c:\\*.txt";
    s.recurse = false;
    s.externalProgress = external;
    s.multiVolume = multiVolume;
    s.cdFirst = cdFirst;
    return s;
}

TEST(UnzipJobSettings, WritesEveryPropertyInTheFixedOrderWithItsType)
{
    RecordingControl control;
    corvane::ApplyUnzipJobSettings(control, UnzipSettings(false));
    const std::vector<std::int32_t> expected = {1,  2,  4,  3,  5,  6,  7,  8,  9,  10, 12, 13, 14,
                                                15, 16, 17, 18, 19, 20, 21, 23, 24, 25, 26, 27, 28,
                                                29, 30, 31, 32, 33, 36, 35, 37, 42, 43, 11, 45, 22};
    EXPECT_EQ(control.Order(), expected);
    for (const RecordingControl::Put& put : control.puts) {
        vx::PropType type;
        ASSERT_TRUE(vx::UnzipPropertyType(put.dispid, type)) << put.dispid;
        const char expectedTag = type == vx::PropType::Bstr ? 's'
                                 : type == vx::PropType::Bool ? 'b'
                                 : type == vx::PropType::I2   ? '2'
                                                              : '4';
        EXPECT_EQ(put.type, expectedTag) << "DISPID " << put.dispid;
    }
    EXPECT_TRUE(control.reads.empty());
}

TEST(UnzipJobSettings, CarriesTheJobValuesAndFixedOptions)
{
    RecordingControl control;
    corvane::ApplyUnzipJobSettings(control, UnzipSettings(false));
    EXPECT_EQ(control.texts[vx::unzip::ZIPFile], "c:\\a.zip");
    EXPECT_EQ(control.texts[vx::unzip::FileSpec], "*.txt \"long name.doc\"");
    EXPECT_EQ(control.texts[vx::unzip::Destination], "c:\\out");
    EXPECT_EQ(control.numbers[vx::unzip::Index], -1);
    EXPECT_EQ(control.numbers[vx::unzip::RecurseFlag], -1);
    EXPECT_EQ(control.numbers[vx::unzip::OverwriteFlag], -1);
    EXPECT_EQ(control.numbers[vx::unzip::NoDirectoryNamesFlag], -1);
    EXPECT_EQ(control.numbers[vx::unzip::TestFlag], 0);
    EXPECT_EQ(control.numbers[vx::unzip::OptionBits], 3);
    EXPECT_EQ(control.numbers[vx::unzip::MajorStatusFlag], -1);
    EXPECT_EQ(control.numbers[vx::unzip::MinorStatusFlag], -1);
    EXPECT_EQ(control.texts[vx::unzip::ExtProgTitle], "");

    RecordingControl noRecurse;
    corvane::UnzipJobSettings flat = UnzipSettings(false);
    flat.recurse = false;
    corvane::ApplyUnzipJobSettings(noRecurse, flat);
    EXPECT_EQ(noRecurse.numbers[vx::unzip::RecurseFlag], 0);
}

TEST(UnzipJobSettings, ExternalProgressReadsBackOptionBitsAndSilencesStatusEvents)
{
    RecordingControl control;
    corvane::ApplyUnzipJobSettings(control, UnzipSettings(true));
    EXPECT_EQ(control.numbers[vx::unzip::OptionBits], 0x0F);
    EXPECT_EQ(control.numbers[vx::unzip::MajorStatusFlag], 0);
    EXPECT_EQ(control.numbers[vx::unzip::MinorStatusFlag], 0);
    EXPECT_EQ(control.texts[vx::unzip::ExtProgTitle], "Multi-Thread Extraction Process");
    EXPECT_EQ(control.reads, std::vector<std::int32_t>{vx::unzip::OptionBits});
    // Title, option bits, both switches, between AllowRenamingFlag and StartingOffset.
    const std::vector<std::int32_t> order = control.Order();
    const std::vector<std::int32_t> middle(order.begin() + 32, order.begin() + 38);
    EXPECT_EQ(middle, (std::vector<std::int32_t>{35, 37, 23, 6, 7, 42}));
}

TEST(ZipJobSettings, WritesEveryPropertyInTheFixedOrderWithItsType)
{
    RecordingControl control;
    corvane::ApplyZipJobSettings(control, ZipSettings(false, false, false));
    const std::vector<std::int32_t> expected = {
        1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
        23, 24, 25, 26, 27, 28, 29, 30, 31, 33, 34, 35, 36, 37, 38, 39, 40, 32, 42, 44, 42, 9};
    EXPECT_EQ(control.Order(), expected);
    for (const RecordingControl::Put& put : control.puts) {
        vx::PropType type;
        ASSERT_TRUE(vx::ZipPropertyType(put.dispid, type)) << put.dispid;
        const char expectedTag = type == vx::PropType::Bstr ? 's'
                                 : type == vx::PropType::Bool ? 'b'
                                 : type == vx::PropType::I2   ? '2'
                                                              : '4';
        EXPECT_EQ(put.type, expectedTag) << "DISPID " << put.dispid;
    }
    EXPECT_EQ(control.numbers[vx::zip::ZipOption3], -1);
    EXPECT_EQ(control.numbers[vx::zip::ZipOption8], 5);
    EXPECT_EQ(control.numbers[vx::zip::RecurseFlag], 0);
    EXPECT_EQ(control.numbers[vx::zip::OptionBits], 2);
    EXPECT_EQ(control.numbers[vx::zip::Action], 0);
    EXPECT_EQ(control.numbers[vx::zip::MultiVolumeFlags], 0);
    EXPECT_EQ(control.texts[vx::zip::ItemList], "c:\\*.bat c:\\*.txt");
    EXPECT_EQ(control.puts.back().dispid, vx::zip::ZipOption9);
    EXPECT_EQ(control.puts.back().number, 0);
    EXPECT_TRUE(control.reads.empty());
}

TEST(ZipJobSettings, MultiVolumeAddsItsBitsToWhatTheControlHolds)
{
    RecordingControl plain;
    corvane::ApplyZipJobSettings(plain, ZipSettings(false, true, false));
    EXPECT_EQ(plain.numbers[vx::zip::MultiVolumeFlags], 0x8000);
    EXPECT_EQ(plain.reads, std::vector<std::int32_t>{vx::zip::MultiVolumeFlags});

    RecordingControl cd;
    corvane::ApplyZipJobSettings(cd, ZipSettings(false, true, true));
    EXPECT_EQ(cd.numbers[vx::zip::MultiVolumeFlags], 0x9000);
    // Written twice: reset to 0, then the read-back value with the bits.
    std::vector<std::int32_t> writes;
    for (const auto& put : cd.puts)
        if (put.dispid == vx::zip::MultiVolumeFlags)
            writes.push_back(put.number);
    EXPECT_EQ(writes, (std::vector<std::int32_t>{0, 0x9000}));

    RecordingControl cdAlone;
    corvane::ApplyZipJobSettings(cdAlone, ZipSettings(false, false, true));
    EXPECT_EQ(cdAlone.numbers[vx::zip::MultiVolumeFlags], 0);
    EXPECT_TRUE(cdAlone.reads.empty());
}

TEST(ZipJobSettings, MultiVolumeFlagsWord)
{
    EXPECT_EQ(corvane::MultiVolumeFlags(0, true, false), 0x8000);
    EXPECT_EQ(corvane::MultiVolumeFlags(0, true, true), 0x9000);
    EXPECT_EQ(corvane::MultiVolumeFlags(0, false, true), 0);
    EXPECT_EQ(corvane::MultiVolumeFlags(0x0010, true, false), 0x8010);
}

TEST(ZipJobSettings, ExternalProgressEndsWithOptionBits0x0EAndNoStatusEvents)
{
    RecordingControl control;
    corvane::ApplyZipJobSettings(control, ZipSettings(true, false, false));
    EXPECT_EQ(control.numbers[vx::zip::OptionBits], 0x0E);
    EXPECT_EQ(control.numbers[vx::zip::MajorStatusFlag], 0);
    EXPECT_EQ(control.numbers[vx::zip::MinorStatusFlag], 0);
    EXPECT_EQ(control.texts[vx::zip::ExtProgTitle], "Multi-Thread Compression Process");
    EXPECT_EQ(control.reads, std::vector<std::int32_t>{vx::zip::OptionBits});
    const std::vector<std::int32_t> order = control.Order();
    const std::vector<std::int32_t> tail(order.end() - 6, order.end());
    EXPECT_EQ(tail, (std::vector<std::int32_t>{44, 42, 38, 4, 5, 9}));
}

} // namespace
