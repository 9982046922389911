// The bench's functions against archives made by Info-ZIP's zip: counts,
// comment, item information as zipinfo reports it, the string form, and a box
// that holds no number.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/ulmarsh/bench_session_win.h"
#include "ulmarsh/resource.h"

namespace ulmarsh_e2e {
namespace {

// What zipinfo said about item N of bench.zip.
std::string Zipinfo(int item, const char* key) {
    char section[16];
    std::snprintf(section, sizeof section, "item%d", item);
    return e2e::ReadIni(Fixture("bench.ini"), section, key);
}

// zipinfo "1999 Dec 31 23:59:58" as MM/DD/YYYY HH:MM:SS.
std::string NumericDate(const std::string& zipinfoDate) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int year = 0, day = 0;
    char month[8] = {}, clock[16] = {};
    if (std::sscanf(zipinfoDate.c_str(), "%d %3s %d %15s", &year, month, &day, clock) != 4)
        return "unreadable: " + zipinfoDate;
    int m = 0;
    while (m < 12 && std::strcmp(kMonths[m], month) != 0) ++m;
    char text[40];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %s", m + 1, day, year, clock);
    return text;
}

std::string MethodName(const std::string& zipinfoMethod) {
    if (zipinfoMethod == "none (stored)") return "Stored";
    if (zipinfoMethod == "deflated") return "Deflated";
    return "unexpected: " + zipinfoMethod;
}

// The six DOS letters of the attribute text from zipinfo's MS-DOS attribute byte.
std::string DosLetters(const std::string& hex) {
    const unsigned long bits = std::strtoul(hex.c_str(), nullptr, 16);
    std::string s;
    s += bits & 0x20 ? 'a' : '-';
    s += bits & 0x10 ? 'd' : '-';
    s += bits & 0x08 ? 'v' : '-';
    s += bits & 0x04 ? 's' : '-';
    s += bits & 0x02 ? 'h' : '-';
    s += bits & 0x01 ? 'r' : '-';
    return s;
}

std::string SignedCrc(const std::string& hex) {
    return std::to_string(static_cast<long>(static_cast<int32_t>(std::strtoul(hex.c_str(), nullptr, 16))));
}

class BenchInfo : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterControls()); }

    void SetUp() override {
        ASSERT_TRUE(bench.main()) << "main form did not come up";
        bench.SetText(IDC_ZIPFILE, Fixture("bench.zip"));
    }

    void Run(int function) {
        bench.SelectFunction(function);
        bench.StartRun();
        ASSERT_TRUE(bench.WaitForRunEnd());
    }

    BenchSession bench;
};

TEST_F(BenchInfo, CountAndCommentOfTheArchive) {
    EXPECT_EQ(e2e::WindowText(bench.main()), "Varnex UnZIP Diagnostic Tool");
    Run(0);  // COUNTALLZIPMEMBERS
    EXPECT_EQ(bench.Text(IDC_RETURNVALUE), "0");
    EXPECT_EQ(bench.Text(IDC_VXCOUNT), "3");

    Run(5);  // GETCOMMENT
    EXPECT_EQ(bench.Text(IDC_RETURNVALUE), "0");
    EXPECT_EQ(bench.Text(IDC_RETURNSTRING), "Bench fixture comment");
}

TEST_F(BenchInfo, IndexedItemInformationMatchesZipinfo) {
    for (int item : {1, 2}) {
        SCOPED_TRACE(item);
        bench.SetText(IDC_VXINDEX, std::to_string(item));
        Run(6);  // GETINDEXEDZIPINFO
        EXPECT_EQ(bench.Text(IDC_RETURNVALUE), "0");
        EXPECT_EQ(bench.Text(IDC_ZIINDEX), std::to_string(item));
        EXPECT_EQ(bench.Text(IDC_ZISZFILENAME), Zipinfo(item, "name"));
        EXPECT_EQ(bench.Text(IDC_ZIOSIZE), Zipinfo(item, "osize"));
        EXPECT_EQ(bench.Text(IDC_ZICSIZE), Zipinfo(item, "csize"));
        EXPECT_EQ(bench.Text(IDC_ZICRC32), SignedCrc(Zipinfo(item, "crc")));
        EXPECT_EQ(bench.Text(IDC_ZICMETHOD), MethodName(Zipinfo(item, "method")));
        EXPECT_EQ(bench.Text(IDC_ZISZDATETIME), NumericDate(Zipinfo(item, "datetime")));
        EXPECT_EQ(bench.Text(IDC_ZICPATHTYPE), "No");
        const std::string attr = bench.Text(IDC_ZIATTR);
        ASSERT_EQ(attr.size(), 8u) << attr;
        EXPECT_EQ(attr.substr(0, 6), DosLetters(Zipinfo(item, "dosattr")));
        EXPECT_EQ(attr[6], '-');  // not encrypted
        // Nobody else holds the archive: the run never reports waiting for its turn.
        EXPECT_EQ(bench.Text(IDC_MAJORSTATUS).find("Waiting"), std::string::npos) << bench.Text(IDC_MAJORSTATUS);
        if (item == 1) e2e::ScreenshotIfRequested("ulmarsh-main", bench.main());
    }
}

TEST_F(BenchInfo, IndexThatIsNoNumberStopsTheRunWithAMessage) {
    bench.SetText(IDC_VXINDEX, "40000");
    bench.SelectFunction(6);
    bench.StartRun();
    HWND message = bench.WaitForForm("#32770");
    ASSERT_TRUE(message);
    // The message names the box; the static text is one of the box's children.
    bool namesTheBox = false;
    for (const auto& c : e2e::ListControls(message))
        namesTheBox |= c.text.find("Index") != std::string::npos &&
                       c.text.find("-32768") != std::string::npos;
    EXPECT_TRUE(namesTheBox);
    e2e::PostClose(message);
    EXPECT_TRUE(e2e::WaitForWindowGone(message));
    EXPECT_EQ(bench.Text(IDC_RETURNVALUE), "");
}

TEST_F(BenchInfo, ControlMessagesCarryTheBenchsTitles) {
    struct Case {
        const char* archive;
        const char* fileSpec;
        int function;
        const char* title;
    };
    const Case cases[] = {{"missing.zip", "", 2, "ULMARSH Error"},  // COUNTNAMEDZIPMEMBERS
                          {"bench.zip", "nothing-matches.*", 7, "ULMARSH Warning"}};  // EXTRACT
    const std::string destination = e2e::MakeTempFolder("ulmarsh-messages");
    bench.SetText(IDC_DESTINATION, destination);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        bench.SetText(IDC_ZIPFILE, Fixture(c.archive));
        bench.SetText(IDC_FILESPEC, c.fileSpec);
        bench.SelectFunction(c.function);
        bench.StartRun();
        HWND message = bench.WaitForForm("#32770");
        ASSERT_TRUE(message);
        EXPECT_EQ(e2e::WindowText(message), c.title);
        e2e::PostClose(message);
        ASSERT_TRUE(bench.WaitForRunEnd());
        EXPECT_NE(bench.Text(IDC_RETURNVALUE), "0");
    }
    e2e::RemoveTree(destination);
}

TEST_F(BenchInfo, StringFormUnzipsCharactersFromAnOffset) {
    bench.Command(IDM_UNZIPSTRING);
    HWND form = bench.WaitForForm("UlmarshStringForm");
    ASSERT_TRUE(form);
    EXPECT_EQ(e2e::WindowText(form), "UnZIP String");
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_ITEMNAME), "zipstring");
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_STARTINGOFFSET), "0");
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_CHARSTOUNZIP), "256");
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_RETURNCOUNT), "");
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_ZIPFILE), Fixture("bench.zip"));

    // A count that is no 32-bit number: no run, a message naming the box.
    e2e::SetControlText(form, IDC_SF_CHARSTOUNZIP, "4294967296");
    ASSERT_TRUE(e2e::ClickButton(form, IDC_SF_UNZIPIT));
    HWND message = bench.WaitForForm("#32770");
    ASSERT_TRUE(message);
    bool namesTheBox = false;
    for (const auto& c : e2e::ListControls(message))
        namesTheBox |= c.text.find("No. Chars to UnZIP") != std::string::npos;
    EXPECT_TRUE(namesTheBox);
    e2e::PostClose(message);
    ASSERT_TRUE(e2e::WaitForWindowGone(message));
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_RETURNCOUNT), "");
    e2e::SetControlText(form, IDC_SF_CHARSTOUNZIP, "256");

    bench.SetText(IDC_RETURNSTRING, "kept");
    e2e::SetControlText(form, IDC_SF_STARTINGOFFSET, "100");
    ASSERT_TRUE(e2e::ClickButton(form, IDC_SF_UNZIPIT));
    ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::ControlText(form, IDC_SF_RETURNCOUNT).empty(); }));

    // The item is "item-000;item-001;..." (nine characters each).
    std::string content;
    for (int i = 0; i < 100; ++i) {
        char part[16];
        std::snprintf(part, sizeof part, "item-%03d;", i);
        content += part;
    }
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_RETURNCOUNT), "256");
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_UNZIPSTRING), content.substr(100, 256));
    EXPECT_EQ(e2e::ControlText(form, IDC_SF_RETURNVALUE), "0");
    EXPECT_EQ(bench.Text(IDC_RETURNVALUE), "0");
    EXPECT_EQ(bench.Text(IDC_ZISZFILENAME), "zipstring");
    EXPECT_EQ(bench.Text(IDC_RETURNSTRING), "kept");
    e2e::ScreenshotIfRequested("ulmarsh-string", form);

    // Closing the main form takes the string form with it.
    e2e::PostClose(bench.main());
    DWORD exitCode = 1;
    EXPECT_TRUE(bench.process().Wait(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace ulmarsh_e2e
