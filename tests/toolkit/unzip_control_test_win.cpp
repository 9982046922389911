// The unzip control under Wine against archives made by Info-ZIP zip.
#include "tests/toolkit/toolkit_test_support_win.h"
#include "tests/zipcore/name_manifest.h"

#include <fstream>
#include <algorithm>
#include <functional>
#include <set>
#include <thread>
#include <sstream>

using namespace vxtest;

namespace {

struct ListedItem {
    long length, size;
    short method;
    unsigned long crc;
    std::string name;
};

// The listing make_archives.sh took from `unzip -v`.
std::vector<ListedItem> Listing(const std::string& archive)
{
    std::vector<ListedItem> items;
    std::istringstream in(ReadFileBytes(Fixture(archive + ".list")));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream f(line);
        std::string length, method, size, crc, name;
        std::getline(f, length, '|');
        std::getline(f, method, '|');
        std::getline(f, size, '|');
        std::getline(f, crc, '|');
        std::getline(f, name);
        items.push_back({std::stol(length), std::stol(size), short(method == "Stored" ? 0 : 8),
                         std::stoul(crc, nullptr, 16), name});
    }
    return items;
}

std::string Backslashed(std::string s)
{
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

std::string Utf8(const wchar_t* text, size_t length)
{
    std::string out(length * 4, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &out[0],
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

std::string ReadWide(const std::wstring& path)
{
    std::string data;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<cannot open>";
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
    CloseHandle(file);
    return data;
}

std::string ToCrLf(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

WORD FileDosDate(const std::string& path, WORD* time = nullptr)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    FILETIME local;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    WORD d = 0, t = 0;
    FileTimeToDosDateTime(&local, &d, &t);
    if (time) *time = t;
    return d;
}

void SetFileDos(const std::string& path, WORD date, WORD time)
{
    FILETIME local, utc;
    DosDateTimeToFileTime(date, time, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
}

class UnzipControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FixtureDir().empty()) << "VX_FIXTURES not set";
        host_.reset(new HostedControl(vx::kUnzipProgId, &log_));
        ctl_.Attach(host_->Dispatch());
        ASSERT_TRUE(ctl_);
        ctl_.SetQuietFlag(true); // no message boxes in tests
    }
    void TearDown() override
    {
        ctl_.Detach();
        host_.reset();
    }
    short Run(short action)
    {
        EXPECT_EQ(S_OK, ctl_.SetAction(action));
        return ctl_.GetReturnValue();
    }
    short Extract(const std::string& archive, const std::string& dest, const char* spec = "")
    {
        ctl_.SetZIPFile(Fixture(archive).c_str());
        ctl_.SetDestination(dest.c_str());
        ctl_.SetFileSpec(spec);
        return Run(vx::unzip::Extract);
    }

    EventLog log_;
    std::unique_ptr<HostedControl> host_;
    Cvxunzipctrl ctl_;
};

TEST_F(UnzipControlTest, CountsAllAndNamedMembers)
{
    ctl_.SetZIPFile(Fixture("plain.zip").c_str());
    EXPECT_EQ(0, Run(vx::unzip::CountAllMembers));
    EXPECT_EQ(long(Listing("plain").size()), ctl_.GetCount());

    ctl_.SetFileSpec("*.txt");
    EXPECT_EQ(0, Run(vx::unzip::CountNamedMembers));
    EXPECT_EQ(2, ctl_.GetCount()); // readme.txt and the long name; folders need recursion
    ctl_.SetRecurseFlag(true);
    EXPECT_EQ(0, Run(vx::unzip::CountNamedMembers));
    EXPECT_EQ(4, ctl_.GetCount());
    ctl_.SetRecurseFlag(false);
    ctl_.SetFileSpec("\"long name file.txt\" zeros.bin");
    EXPECT_EQ(0, Run(vx::unzip::CountNamedMembers));
    EXPECT_EQ(2, ctl_.GetCount());
    ctl_.SetFileSpec("nothing.here");
    EXPECT_NE(0, Run(vx::unzip::CountNamedMembers));
    EXPECT_EQ(0, ctl_.GetCount());
}

TEST_F(UnzipControlTest, NextInfoWalksEveryItemAsUnzipListsIt)
{
    const std::vector<ListedItem> listed = Listing("plain");
    ASSERT_EQ(9u, listed.size());
    ctl_.SetZIPFile(Fixture("plain.zip").c_str());
    ctl_.SetIndex(-1);
    for (size_t i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(listed[i].name);
        ASSERT_EQ(0, Run(vx::unzip::GetNextInfo));
        EXPECT_EQ(long(i), ctl_.GetZIIndex());
        EXPECT_EQ(long(i), ctl_.GetIndex());
        EXPECT_EQ(listed[i].name, ctl_.GetZIszFileName());
        EXPECT_EQ(listed[i].length, ctl_.GetZIoSize());
        EXPECT_EQ(listed[i].size, ctl_.GetZIcSize());
        EXPECT_EQ(listed[i].method, ctl_.GetZIcMethod());
        EXPECT_EQ(listed[i].crc, static_cast<unsigned long>(ctl_.GetZIcrc32()));
        bool folder = listed[i].name.back() == '/';
        EXPECT_EQ(folder, ctl_.GetZICPathType() != 0);
        EXPECT_EQ(folder, (ctl_.GetZIattr() & 0x10) != 0);
        EXPECT_EQ("01/02/2020 13:04:06", ctl_.GetZIszDateTime());
    }
    EXPECT_EQ(13, Run(vx::unzip::GetNextInfo)); // past the last item
}

TEST_F(UnzipControlTest, IndexedAndNextNamedInfo)
{
    const std::vector<ListedItem> listed = Listing("plain");
    ctl_.SetZIPFile(Fixture("plain.zip").c_str());
    ctl_.SetIndex(5);
    EXPECT_EQ(0, Run(vx::unzip::GetIndexedInfo));
    EXPECT_EQ(listed[5].name, ctl_.GetZIszFileName());
    EXPECT_EQ(0, ctl_.GetZIattr() & 0x10000) << "notes.txt is an 8.3 name";
    ctl_.SetIndex(8);
    EXPECT_EQ(0, Run(vx::unzip::GetIndexedInfo));
    EXPECT_EQ("long name file.txt", ctl_.GetZIszFileName());
    EXPECT_EQ(0x10000, ctl_.GetZIattr() & 0x10000);
    ctl_.SetIndex(99);
    EXPECT_EQ(13, Run(vx::unzip::GetIndexedInfo));
    EXPECT_EQ(listed[8].name, ctl_.GetZIszFileName()) << "a failed call keeps the last item";

    ctl_.SetFileSpec("*.bin");
    ctl_.SetIndex(-1);
    EXPECT_EQ(0, Run(vx::unzip::GetNextNamedInfo));
    EXPECT_EQ("data.bin", ctl_.GetZIszFileName());
    EXPECT_EQ(0, Run(vx::unzip::GetNextNamedInfo));
    EXPECT_EQ("zeros.bin", ctl_.GetZIszFileName());
    EXPECT_EQ(12, Run(vx::unzip::GetNextNamedInfo));
}

TEST_F(UnzipControlTest, CommentAndItsSize)
{
    ctl_.SetZIPFile(Fixture("plain.zip").c_str());
    EXPECT_EQ(0, Run(vx::unzip::GetComment));
    const std::string comment = ctl_.GetReturnString();
    EXPECT_EQ(0u, comment.find("Archive comment for the tests"));
    ctl_.SetCount(0);
    EXPECT_EQ(0, Run(vx::unzip::GetCommentSize));
    EXPECT_EQ(long(comment.size()), ctl_.GetCount());

    ctl_.SetZIPFile(Fixture("stored.zip").c_str());
    EXPECT_EQ(0, Run(vx::unzip::GetCommentSize));
    EXPECT_EQ(0, ctl_.GetCount());
}

TEST_F(UnzipControlTest, ExtractionEqualsUnzipByteForByteWithItemTimes)
{
    const std::string dest = FreshFolder("extract");
    ctl_.SetOverwriteFlag(true);
    ctl_.SetRecurseFlag(true);
    ASSERT_EQ(0, Extract("plain.zip", dest));
    for (const ListedItem& item : Listing("plain")) {
        SCOPED_TRACE(item.name);
        const std::string ours = dest + "\\" + Backslashed(item.name);
        ASSERT_TRUE(FileExists(ours));
        if (item.name.back() == '/') continue;
        EXPECT_EQ(ReadFileBytes(Fixture("ref_plain/" + item.name)), ReadFileBytes(ours));
    }
    ctl_.SetIndex(0);
    Run(vx::unzip::GetIndexedInfo);
    WORD time = 0;
    WORD date = FileDosDate(dest + "\\readme.txt", &time);
    EXPECT_EQ(0x5022, date); // 2020-01-02
    EXPECT_EQ(0x6883, time); // 13:04:06
}

TEST_F(UnzipControlTest, DropsFolderNamesAndSkipsFolderItemsWhenAsked)
{
    const std::string dest = FreshFolder("flat");
    ctl_.SetNoDirectoryNamesFlag(true);
    ctl_.SetRecurseFlag(true);
    ASSERT_EQ(0, Extract("plain.zip", dest, "*.txt"));
    EXPECT_TRUE(FileExists(dest + "\\notes.txt"));
    EXPECT_TRUE(FileExists(dest + "\\deep.txt"));
    EXPECT_FALSE(FileExists(dest + "\\sub"));

    const std::string dest2 = FreshFolder("nodirs");
    ctl_.SetNoDirectoryNamesFlag(false);
    ctl_.SetNoDirectoryItemsFlag(true);
    ASSERT_EQ(0, Extract("plain.zip", dest2));
    EXPECT_EQ(7, ctl_.GetCount()) << "the two folder items are not counted";
}

TEST_F(UnzipControlTest, TestFlagChecksWithoutWriting)
{
    const std::string dest = FreshFolder("tested");
    ctl_.SetTestFlag(true);
    ASSERT_EQ(0, Extract("plain.zip", dest));
    EXPECT_GT(ctl_.GetCount(), 0);
    EXPECT_FALSE(FileExists(dest + "\\readme.txt"));
}

TEST_F(UnzipControlTest, PasswordArchives)
{
    const std::string dest = FreshFolder("secret");
    ctl_.SetOverwriteFlag(true);
    ctl_.SetRecurseFlag(true);
    ctl_.SetDecryptFlag(true);
    ctl_.SetDecryptCode("secret");
    ASSERT_EQ(0, Extract("secret.zip", dest));
    EXPECT_EQ(ReadFileBytes(Fixture("ref_plain/sub/notes.txt")), ReadFileBytes(dest + "\\sub\\notes.txt"));
    ctl_.SetIndex(0);
    Run(vx::unzip::GetIndexedInfo);
    EXPECT_EQ(0x8000, ctl_.GetZIattr() & 0x8000);

    const std::string wrong = FreshFolder("secret_wrong");
    ctl_.SetDecryptCode("not it");
    EXPECT_NE(0, Extract("secret_stored.zip", wrong));
    EXPECT_FALSE(FileExists(wrong + "\\readme.txt"));
    EXPECT_NE(log_.messageCodes.end(),
              std::find(log_.messageCodes.begin(), log_.messageCodes.end(), 8L));
}

TEST_F(UnzipControlTest, OverwriteAsksAndFollowsTheAnswer)
{
    const std::string dest = FreshFolder("overwrite");
    const std::string target = dest + "\\readme.txt";
    WriteFileBytes(target, "local edit");
    long answer = 2;
    log_.onMessage = [&](long* code, BSTR*, long* response) {
        if (*code == 0) *response = answer;
    };
    Extract("plain.zip", dest, "readme.txt");
    EXPECT_EQ("local edit", ReadFileBytes(target));
    ASSERT_FALSE(log_.messageCodes.empty());
    EXPECT_EQ(0, log_.messageCodes.front());

    answer = 1;
    EXPECT_EQ(0, Extract("plain.zip", dest, "readme.txt"));
    EXPECT_EQ(ReadFileBytes(Fixture("ref_plain/readme.txt")), ReadFileBytes(target));
}

TEST_F(UnzipControlTest, ReadOnlyTargetsNeedOptionBitOne)
{
    const std::string dest = FreshFolder("readonly");
    const std::string target = dest + "\\readme.txt";
    WriteFileBytes(target, "locked");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    ctl_.SetOverwriteFlag(true);
    Extract("plain.zip", dest, "readme.txt");
    EXPECT_EQ("locked", ReadFileBytes(target));
    ctl_.SetOptionBits(1);
    EXPECT_EQ(0, Extract("plain.zip", dest, "readme.txt"));
    EXPECT_EQ(ReadFileBytes(Fixture("ref_plain/readme.txt")), ReadFileBytes(target));
}

TEST_F(UnzipControlTest, LongNameOptionBitsSkipOrShortenLongNames)
{
    const std::string skipped = FreshFolder("ignore_long");
    ctl_.SetOptionBits(16);
    ASSERT_EQ(0, Extract("plain.zip", skipped, "readme.txt \"long name file.txt\""));
    EXPECT_TRUE(FileExists(skipped + "\\readme.txt"));
    EXPECT_FALSE(FileExists(skipped + "\\long name file.txt"));

    const std::string mangled = FreshFolder("mangle_long");
    ctl_.SetOptionBits(32);
    ASSERT_EQ(0, Extract("plain.zip", mangled, "\"long name file.txt\""));
    EXPECT_FALSE(FileExists(mangled + "\\long name file.txt"));
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA((mangled + "\\*~1.TXT").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, find) << "no 8.3 name written";
    FindClose(find);
    EXPECT_LE(strlen(found.cFileName), 12u);
}

TEST_F(UnzipControlTest, OverwritesHiddenFilesAndTakesTheItemsAttributes)
{
    const std::string dest = FreshFolder("hidden");
    const std::string target = dest + "\\zipstring";
    WriteFileBytes(target, "a much longer text than the item holds, so truncation shows");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ctl_.SetOverwriteFlag(true);
    ASSERT_EQ(0, Extract("plain.zip", dest, "zipstring"));
    EXPECT_EQ(ReadFileBytes(Fixture("ref_plain/zipstring")), ReadFileBytes(target));
    ctl_.SetFileSpec("zipstring");
    ASSERT_EQ(0, Run(vx::unzip::GetNextNamedInfo));
    // The file system may add the archive bit of its own accord.
    EXPECT_EQ(DWORD(ctl_.GetZIattr() & 0x07), GetFileAttributesA(target.c_str()) & 0x07);
}

TEST_F(UnzipControlTest, ResultLogInReturnString)
{
    // Each run finds readme.txt in place and declines it (quiet, no overwrite).
    auto folder = [](const char* name) {
        const std::string dest = FreshFolder(name);
        WriteFileBytes(dest + "\\readme.txt", "kept");
        return dest;
    };
    ctl_.SetReturnString("untouched");
    ASSERT_EQ(17, Extract("plain.zip", folder("log0"), "readme.txt zeros.bin"));
    EXPECT_EQ("untouched", ctl_.GetReturnString()) << "no log unless asked for";

    ctl_.SetOptionBits(vx::unzip::LogResults);
    ASSERT_EQ(17, Extract("plain.zip", folder("log1"), "readme.txt zeros.bin"));
    std::string log = ctl_.GetReturnString();
    EXPECT_EQ(0u, log.find("message 0: ")) << log;
    EXPECT_NE(std::string::npos, log.find("result 17: ")) << log;
    EXPECT_NE(std::string::npos, log.find(", count 1")) << log;
    EXPECT_EQ(std::string::npos, log.find("item: ")) << log;

    ctl_.SetOptionBits(0);
    ctl_.SetDiagnosticLogFlag(true);
    ASSERT_EQ(0, Extract("plain.zip", folder("log2"), "zeros.bin"));
    log = ctl_.GetReturnString();
    EXPECT_NE(std::string::npos, log.find("item: zeros.bin\r\n")) << log;
    EXPECT_NE(std::string::npos, log.find("step: ")) << log;
    EXPECT_NE(std::string::npos, log.find("result 0: success, count 1")) << log;

    ctl_.SetZIPFile(Fixture("plain.zip").c_str());
    Run(vx::unzip::GetComment);
    EXPECT_EQ(0u, ctl_.GetReturnString().find("Archive comment")) << "the comment wins";
}

TEST_F(UnzipControlTest, FreshenReplacesOlderFilesOnly)
{
    const std::string dest = FreshFolder("freshen");
    WriteFileBytes(dest + "\\readme.txt", "old");
    SetFileDos(dest + "\\readme.txt", 0x2621, 0); // 1999
    WriteFileBytes(dest + "\\zeros.bin", "newer");
    SetFileDos(dest + "\\zeros.bin", 0x5A21, 0); // 2025
    ctl_.SetFreshenFlag(true);
    EXPECT_EQ(0, Extract("plain.zip", dest));
    EXPECT_EQ(ReadFileBytes(Fixture("ref_plain/readme.txt")), ReadFileBytes(dest + "\\readme.txt"));
    EXPECT_EQ("newer", ReadFileBytes(dest + "\\zeros.bin"));
    EXPECT_FALSE(FileExists(dest + "\\data.bin")) << "freshen creates nothing new";
}

TEST_F(UnzipControlTest, UpdateAlsoCreatesMissingFiles)
{
    const std::string dest = FreshFolder("update");
    WriteFileBytes(dest + "\\zeros.bin", "newer");
    SetFileDos(dest + "\\zeros.bin", 0x5A21, 0);
    ctl_.SetUpdateFlag(true);
    EXPECT_EQ(0, Extract("plain.zip", dest, "*.bin"));
    EXPECT_EQ("newer", ReadFileBytes(dest + "\\zeros.bin"));
    EXPECT_EQ(ReadFileBytes(Fixture("ref_plain/data.bin")), ReadFileBytes(dest + "\\data.bin"));
}

TEST_F(UnzipControlTest, LfToCrlf)
{
    const std::string dest = FreshFolder("crlf");
    ctl_.SetLFtoCRLFFlag(true);
    ASSERT_EQ(0, Extract("plain.zip", dest, "readme.txt"));
    EXPECT_EQ(ToCrLf(ReadFileBytes(Fixture("ref_plain/readme.txt"))), ReadFileBytes(dest + "\\readme.txt"));
}

TEST_F(UnzipControlTest, UnzipToStringWithOffsets)
{
    ctl_.SetZIPFile(Fixture("plain.zip").c_str());
    ctl_.SetFileSpec("zipstring");
    ctl_.SetStartingOffset(10);
    ctl_.SetCharsToUnZIP(5);
    ASSERT_EQ(0, Run(vx::unzip::UnzipToString));
    EXPECT_EQ("abcde", ctl_.GetUnZIPString());
    EXPECT_EQ(5, ctl_.GetCharsToUnZIP());
    EXPECT_EQ("zipstring", ctl_.GetZIszFileName());

    ctl_.SetStartingOffset(40);
    ctl_.SetCharsToUnZIP(256);
    ASSERT_EQ(0, Run(vx::unzip::UnzipToString));
    EXPECT_EQ("ond line\n", ctl_.GetUnZIPString());
    EXPECT_EQ(9, ctl_.GetCharsToUnZIP());

    ctl_.SetStartingOffset(-1);
    EXPECT_NE(0, Run(vx::unzip::UnzipToString));
}

TEST_F(UnzipControlTest, RenameEventsChangeNameDateAndCanSkip)
{
    const std::string dest = FreshFolder("rename");
    ctl_.SetAllowRenamingFlag(true);
    ctl_.SetOverwriteFlag(true);
    log_.onRename = [](BSTR* name, long* date, long* time, long* attributes, long* response) {
        std::string n = BstrToAnsi(*name);
        if (n == "readme.txt") {
            vx::ReplaceBstr(name, "renamed.txt");
            *date = 0x279F; // 12/31/1999
            *time = 0x5E54; // 11:50:40
            *attributes |= 0x01;
        } else {
            *response = 1; // skip
        }
    };
    EXPECT_EQ(0, Extract("plain.zip", dest, "readme.txt zeros.bin"));
    EXPECT_EQ((std::vector<std::string>{"readme.txt", "zeros.bin"}), log_.renamedOriginals);
    EXPECT_FALSE(FileExists(dest + "\\readme.txt"));
    EXPECT_FALSE(FileExists(dest + "\\zeros.bin"));
    const std::string renamed = dest + "\\renamed.txt";
    ASSERT_TRUE(FileExists(renamed));
    WORD time = 0;
    EXPECT_EQ(0x279F, FileDosDate(renamed, &time));
    EXPECT_EQ(0x5E54, time);
    EXPECT_TRUE(GetFileAttributesA(renamed.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(renamed.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(UnzipControlTest, RenameToAClimbingNameIsRefused)
{
    const std::string dest = FreshFolder("rename_out");
    ctl_.SetAllowRenamingFlag(true);
    log_.onRename = [](BSTR* name, long*, long*, long*, long*) {
        vx::ReplaceBstr(name, "..\\outside.txt");
    };
    EXPECT_NE(0, Extract("plain.zip", dest, "readme.txt"));
    EXPECT_FALSE(FileExists(Fixture("work\\outside.txt")));
}

TEST_F(UnzipControlTest, StatusEventsReportPercentagesOfRunAndItem)
{
    const std::string dest = FreshFolder("status");
    ctl_.SetMajorStatusFlag(true);
    ctl_.SetMinorStatusFlag(true);
    ctl_.SetRecurseFlag(true);
    ASSERT_EQ(0, Extract("plain.zip", dest));
    ASSERT_FALSE(log_.major.empty());
    ASSERT_FALSE(log_.minor.empty());
    for (size_t i = 1; i < log_.major.size(); ++i)
        EXPECT_LE(log_.major[i - 1].percent, log_.major[i].percent);
    EXPECT_EQ(100, log_.major.back().percent);
    bool sawNotesAt100 = false;
    for (const auto& s : log_.minor) {
        EXPECT_GE(s.percent, 0);
        EXPECT_LE(s.percent, 100);
        if (s.text == "sub/notes.txt" && s.percent == 100) sawNotesAt100 = true;
    }
    EXPECT_TRUE(sawNotesAt100);

    log_.major.clear();
    log_.minor.clear();
    ctl_.SetMajorStatusFlag(false);
    ctl_.SetMinorStatusFlag(false);
    Extract("plain.zip", FreshFolder("status_off"));
    EXPECT_TRUE(log_.major.empty());
    EXPECT_TRUE(log_.minor.empty());
}

TEST_F(UnzipControlTest, CancelThroughAStatusEventStopsTheRun)
{
    const std::string dest = FreshFolder("cancel");
    ctl_.SetMajorStatusFlag(true);
    ctl_.SetRecurseFlag(true);
    log_.onMajor = [](BSTR*, long*, long* cancel) { *cancel = 1; };
    EXPECT_EQ(14, Extract("plain.zip", dest));
    EXPECT_NE(log_.messageCodes.end(),
              std::find(log_.messageCodes.begin(), log_.messageCodes.end(), 13L));

    // Answering "no" to the confirmation lets the run go on.
    log_.onMessage = [](long* code, BSTR*, long* response) {
        if (*code == 13) *response = 2;
    };
    EXPECT_EQ(0, Extract("plain.zip", FreshFolder("cancel_declined")));
}

TEST_F(UnzipControlTest, MinorCancelNeedsOptionBitTwo)
{
    ctl_.SetMinorStatusFlag(true);
    ctl_.SetRecurseFlag(true);
    log_.onMinor = [](BSTR*, long*, long* cancel) { *cancel = -1; };
    EXPECT_EQ(0, Extract("plain.zip", FreshFolder("minor_ignored")));
    ctl_.SetOptionBits(2);
    EXPECT_EQ(14, Extract("plain.zip", FreshFolder("minor_cancel")));
}

INT_PTR CALLBACK CancelDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM)
{
    if (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL) {
        *reinterpret_cast<bool*>(GetWindowLongPtrA(dialog, DWLP_USER)) = true;
        return TRUE;
    }
    return FALSE;
}

// With bit 2 the control serves the host's queue, dialog keys included, as corvane's
// status dialog needs for Escape to work during a run.
TEST_F(UnzipControlTest, EscapeInTheHostsDialogReachesItDuringTheRun)
{
    struct {
        DLGTEMPLATE t;
        WORD menu, cls, title;
    } tpl{};
    tpl.t.style = WS_POPUP;
    tpl.t.cx = 100;
    tpl.t.cy = 50;
    bool cancelled = false;
    HWND dialog = CreateDialogIndirectParamA(nullptr, &tpl.t, nullptr, CancelDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&cancelled));
    ctl_.SetMinorStatusFlag(true);
    ctl_.SetOptionBits(2);
    ctl_.SetRecurseFlag(true);
    bool posted = false;
    log_.onMinor = [&](BSTR*, long*, long* cancel) {
        if (!posted) {
            PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
            posted = true;
        }
        *cancel = cancelled ? 1 : 0;
    };
    EXPECT_EQ(14, Extract("plain.zip", FreshFolder("escape")));
    EXPECT_TRUE(cancelled);
    DestroyWindow(dialog);
}

TEST_F(UnzipControlTest, OwnProgressWindowWithCancel)
{
    ctl_.SetOptionBits(4 | 8);
    ctl_.SetExtProgTitle("Test Progress Title");
    ctl_.SetMinorStatusFlag(true);
    ctl_.SetRecurseFlag(true);
    bool seen = false;
    bool cancelEnabled = true;
    log_.onMinor = [&](BSTR*, long*, long*) {
        HWND w = FindWindowA("VXProgressWindow", "Test Progress Title");
        if (!w || seen) return;
        seen = true;
        HWND cancel = GetDlgItem(w, IDCANCEL);
        ASSERT_NE(nullptr, cancel);
        EXPECT_EQ(cancelEnabled, IsWindowEnabled(cancel) != FALSE);
        SendMessageA(cancel, BM_CLICK, 0, 0);
    };
    EXPECT_EQ(14, Extract("plain.zip", FreshFolder("progress")));
    EXPECT_TRUE(seen);
    EXPECT_EQ(nullptr, FindWindowA("VXProgressWindow", "Test Progress Title"));

    // Without bit 8 the window's Cancel is disabled and the run completes.
    ctl_.SetOptionBits(4);
    seen = false;
    cancelEnabled = false;
    EXPECT_EQ(0, Extract("plain.zip", FreshFolder("progress_nocancel")));
    EXPECT_TRUE(seen);
}

TEST_F(UnzipControlTest, HostileNamesStayInsideDestination)
{
    const std::string dest = FreshFolder("hostile\\inner");
    EXPECT_EQ(8, Extract("hostile.zip", dest));
    EXPECT_FALSE(FileExists(Fixture("work\\hostile\\escaped.txt")));
    EXPECT_FALSE(FileExists("Z:\\rooted.txt"));
    EXPECT_TRUE(FileExists(dest + "\\fine.txt"));
}

TEST_F(UnzipControlTest, DamagedArchivesFailWithoutHarm)
{
    ctl_.SetZIPFile(Fixture("notzip.zip").c_str());
    EXPECT_EQ(2, Run(vx::unzip::CountAllMembers));
    ctl_.SetZIPFile(Fixture("truncated.zip").c_str());
    short truncated = Run(vx::unzip::CountAllMembers);
    EXPECT_TRUE(truncated == 2 || truncated == 3) << truncated;

    const std::string dest = FreshFolder("damaged");
    ctl_.SetOverwriteFlag(true);
    EXPECT_EQ(6, Extract("damaged.zip", dest, "readme.txt")) << "the directory's CRC no longer fits";
    ctl_.SetTestFlag(true);
    EXPECT_EQ(6, Extract("damaged.zip", dest, "readme.txt"));
}

// The same tree as other writers left it reads as its source: a split set read from its last
// volume, the others beside it (zip -s 64k), ZIP64 records wherever a writer could put one, data
// descriptors of archives written to a pipe. zipfile's items lie in a folder "src/".
TEST_F(UnzipControlTest, ArchivesOfOtherWritersAndSplitSetsReadAsTheirSource)
{
    ctl_.SetOverwriteFlag(true);
    ctl_.SetRecurseFlag(true);
    const std::vector<ListedItem> listed = Listing("plain");
    const struct {
        const char* archive;
        const char* folder;
    } sources[] = {{"split.zip", ""},           {"wild_fz.zip", ""},     {"wild_piped.zip", ""},
                   {"wild_fz_piped.zip", ""},   {"wild_py64.zip", "src\\"}, {"wild_pystreamed.zip", "src\\"}};
    for (const auto& source : sources) {
        SCOPED_TRACE(source.archive);
        const long items = long(listed.size()) + (*source.folder ? 1 : 0);
        ctl_.SetFileSpec("");
        ctl_.SetZIPFile(Fixture(source.archive).c_str());
        ASSERT_EQ(0, Run(vx::unzip::CountAllMembers));
        EXPECT_EQ(items, ctl_.GetCount());
        const std::string dest = FreshFolder(std::string("from-") + source.archive);
        ctl_.SetTestFlag(true);
        ASSERT_EQ(0, Extract(source.archive, dest));
        EXPECT_EQ(items, ctl_.GetCount());
        ctl_.SetTestFlag(false);
        ASSERT_EQ(0, Extract(source.archive, dest));
        EXPECT_EQ(items, ctl_.GetCount());
        for (const ListedItem& item : listed) {
            if (item.name.back() == '/') continue;
            const std::string ours = dest + "\\" + source.folder + Backslashed(item.name);
            EXPECT_TRUE(ReadFileBytes(Fixture("ref_plain/" + item.name)) == ReadFileBytes(ours)) << item.name;
        }
    }
    ctl_.SetZIPFile(Fixture("split.zip").c_str());
    ctl_.SetFileSpec("data.bin");
    ctl_.SetStartingOffset(60000);
    ctl_.SetCharsToUnZIP(8000);
    ASSERT_EQ(0, Run(vx::unzip::UnzipToString));
    EXPECT_TRUE(ReadFileBytes(Fixture("ref_plain/data.bin")).substr(60000, 8000) == ctl_.GetUnZIPString());

    EventLog zipEvents;
    zipEvents.onMessage = [](long*, BSTR*, long* response) { *response = 1; };
    HostedControl zipHost(vx::kZipProgId, &zipEvents);
    Cvxzipctrl zip;
    zip.Attach(zipHost.Dispatch());
    ASSERT_TRUE(SetCurrentDirectoryA(Fixture("big").c_str()));
    const std::string own = FreshFolder("ownsplit");
    const std::string noise = ReadFileBytes(Fixture("big\\noise.bin"));
    for (long flags : {long(vx::zip::MultiVolume), long(vx::zip::MultiVolume | vx::zip::CdFirst)}) {
        SCOPED_TRACE(flags);
        const std::string archive = own + "\\set" + std::to_string(flags) + ".zip";
        zip.SetMultiVolumeFlags(flags);
        zip.SetZIPFile(archive.c_str());
        zip.SetItemList("noise.bin");
        zip.SetAction(vx::zip::Add);
        ASSERT_EQ(0, zip.GetReturnValue());
        // Floppy volumes make three; a CD-sized first volume holds it all.
        EXPECT_EQ(flags == vx::zip::MultiVolume,
                  FileExists(own + "\\set" + std::to_string(flags) + ".z02"));
        ctl_.SetFileSpec("");
        ctl_.SetZIPFile(archive.c_str());
        ctl_.SetTestFlag(true);
        ASSERT_EQ(0, Run(vx::unzip::Extract));
        EXPECT_EQ(1, ctl_.GetCount());
        ctl_.SetTestFlag(false);
        const std::string out = FreshFolder("ownsplit-out" + std::to_string(flags));
        ctl_.SetDestination(out.c_str());
        ASSERT_EQ(0, Run(vx::unzip::Extract));
        EXPECT_TRUE(noise == ReadFileBytes(out + "\\noise.bin"));
    }
    zip.Detach();
}

TEST_F(UnzipControlTest, SplitSetWithAMissingVolumeFailsWithFour)
{
    ctl_.SetZIPFile(Fixture("gapped\\split.zip").c_str());
    EXPECT_EQ(4, Run(vx::unzip::CountAllMembers));
    ASSERT_EQ(1u, log_.messageCodes.size());
    EXPECT_EQ(2, log_.messageCodes[0]);
    const std::string dest = Fixture("gapped-out");
    RemoveDirectoryA(dest.c_str());
    EXPECT_EQ(4, Extract("gapped\\split.zip", dest));
    EXPECT_FALSE(FileExists(dest));
}

// Every name reaches the disk exactly as other tools read it: UTF-8 under flag bit 11 or in a
// Unicode path field, legacy names from the OEM code page of an MS-DOS or NTFS host, UTF-8
// from a Unix host; the item information shows the same names.
TEST_F(UnzipControlTest, NamesReachTheDiskAsOtherToolsReadThem)
{
    if (GetOEMCP() != 437) GTEST_SKIP() << "the manifest's legacy names are in code page 437, this is " << GetOEMCP();
    std::set<std::string> expected;
    std::vector<std::pair<std::string, std::string>> files;  // name, data
    const std::vector<ziptest::NameManifestRow> rows = ziptest::readNameManifest(ReadFileBytes(Fixture("utf8.tsv")));
    for (const ziptest::NameManifestRow& row : rows) {
        std::string path = Backslashed(row.name);
        for (size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1))
            expected.insert(path.substr(0, slash));
        if (path.back() == '\\') continue;
        expected.insert(path);
        files.emplace_back(path, row.data);
    }
    ctl_.SetZIPFile(Fixture("utf8.zip").c_str());
    for (size_t i = 0; i < rows.size(); ++i) {
        ctl_.SetIndex(static_cast<long>(i));
        ASSERT_EQ(0, Run(vx::unzip::GetIndexedInfo));
        VARIANT value;
        VariantInit(&value);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        ASSERT_EQ(S_OK, ctl_.Dispatch()->Invoke(vx::unzip::ZIszFileName, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                                                &value, nullptr, nullptr));
        const BSTR shown = V_BSTR(&value);
        EXPECT_EQ(rows[i].name, Utf8(shown, SysStringLen(shown))) << i;
        VariantClear(&value);
    }

    const std::string dest = FreshFolder("utf8");
    ctl_.SetRecurseFlag(true);
    EXPECT_EQ(0, Extract("utf8.zip", dest));
    std::set<std::string> found;
    std::function<void(const std::wstring&, const std::string&)> walk = [&](const std::wstring& folder,
                                                                           const std::string& relative) {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            const std::wstring wide = entry.cFileName;
            if (wide == L"." || wide == L"..") continue;
            const std::string name = relative + Utf8(wide.c_str(), wide.size());
            found.insert(name);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                walk(folder + L"\\" + wide, name + "\\");
            } else {
                const auto hit = std::find_if(files.begin(), files.end(), [&](const auto& f) { return f.first == name; });
                if (hit != files.end()) {
                    EXPECT_EQ(hit->second, ReadWide(folder + L"\\" + wide)) << name;
                }
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    };
    walk(std::wstring(dest.begin(), dest.end()), "");
    EXPECT_EQ(expected, found);
}

// ZIoSize and ZIcSize carry a size's unsigned 32 bits; an item of 4 GiB or more cannot be shown
// (16, message 3), is walked past, and leaves the archive's other items readable.
TEST_F(UnzipControlTest, ItemSizesPastTwoGiBAndItemsTooLargeToShow)
{
    ctl_.SetZIPFile(Fixture("claims3g.zip").c_str());
    ctl_.SetIndex(0);
    ASSERT_EQ(0, Run(vx::unzip::GetIndexedInfo));
    EXPECT_EQ(3221225472ul, static_cast<unsigned long>(ctl_.GetZIoSize()));
    EXPECT_EQ("huge.bin", ctl_.GetZIszFileName());

    ctl_.SetZIPFile(Fixture("claims5g.zip").c_str());
    EXPECT_EQ(0, Run(vx::unzip::CountAllMembers));
    EXPECT_EQ(2, ctl_.GetCount());
    log_.messageCodes.clear();
    ctl_.SetIndex(-1);
    EXPECT_EQ(16, Run(vx::unzip::GetNextInfo));
    EXPECT_EQ(std::vector<long>{3}, log_.messageCodes);
    EXPECT_EQ(0, ctl_.GetIndex()) << "the walk reached the item";
    EXPECT_EQ(3221225472ul, static_cast<unsigned long>(ctl_.GetZIoSize())) << "properties kept";
    EXPECT_EQ(0, Run(vx::unzip::GetNextInfo));
    EXPECT_EQ(1, ctl_.GetIndex());
    EXPECT_EQ("small.txt", ctl_.GetZIszFileName());
    ctl_.SetIndex(0);
    EXPECT_EQ(16, Run(vx::unzip::GetIndexedInfo));
    ctl_.SetFileSpec("huge.bin");
    ctl_.SetCharsToUnZIP(10);
    EXPECT_EQ(16, Run(vx::unzip::UnzipToString));
    const std::string dest = FreshFolder("claims");
    EXPECT_EQ(0, Extract("claims5g.zip", dest, "small.txt"));
    EXPECT_EQ("small item\n", ReadFileBytes(dest + "\\small.txt"));
}

TEST_F(UnzipControlTest, MissingArchiveAndUnknownActionFail)
{
    ctl_.SetZIPFile(Fixture("absent.zip").c_str());
    EXPECT_EQ(1, Run(vx::unzip::CountAllMembers));
    ctl_.SetZIPFile(Fixture("plain.zip").c_str());
    EXPECT_EQ(15, Run(42));
    EXPECT_EQ(42, ctl_.GetAction());
}

TEST_F(UnzipControlTest, ActionWrittenDuringARunDoesNotStartAnother)
{
    ctl_.SetMajorStatusFlag(true);
    ctl_.SetZIPFile(Fixture("plain.zip").c_str());
    short nested = 0;
    log_.onMajor = [&](BSTR*, long*, long*) {
        if (nested) return;
        ctl_.SetAction(vx::unzip::CountAllMembers);
        nested = ctl_.GetReturnValue();
    };
    EXPECT_EQ(0, Extract("plain.zip", FreshFolder("nested")));
    EXPECT_EQ(100, nested);
}

// As corvane runs its jobs: one control per thread, each in its own apartment.
TEST(UnzipControlThreads, ControlsRunSideBySideOnTwoThreads)
{
    short results[2] = {-1, -1};
    std::string dests[2] = {FreshFolder("thread0"), FreshFolder("thread1")};
    auto job = [&](int i) {
        HostedControl host(vx::kUnzipProgId, nullptr);
        Cvxunzipctrl c;
        c.Attach(host.Dispatch());
        c.SetQuietFlag(true);
        c.SetRecurseFlag(true);
        c.SetOptionBits(4); // each thread shows its own progress window
        c.SetExtProgTitle(("thread " + std::to_string(i)).c_str());
        c.SetZIPFile(Fixture("plain.zip").c_str());
        c.SetDestination(dests[i].c_str());
        c.SetAction(vx::unzip::Extract);
        results[i] = c.GetReturnValue();
        c.Detach();
    };
    std::thread a(job, 0), b(job, 1);
    a.join();
    b.join();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(0, results[i]);
        EXPECT_EQ(ReadFileBytes(Fixture("ref_plain/sub/notes.txt")),
                  ReadFileBytes(dests[i] + "\\sub\\notes.txt"));
    }
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new RegisteredControls);
    return RUN_ALL_TESTS();
}
