// The zip control under Wine; check_zip_outputs.sh then tests what it made
// with Info-ZIP unzip (archives, split archive) natively.
#include "tests/toolkit/toolkit_test_support_win.h"

#include <random>

using namespace vxtest;

namespace {

class ZipControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FixtureDir().empty()) << "VX_FIXTURES not set";
        out_ = Fixture("zipout");
        CreateDirectoryA(out_.c_str(), nullptr);
        // Relative item names are taken from the current folder.
        ASSERT_TRUE(SetCurrentDirectoryA(Fixture("src").c_str()));
        host_.reset(new HostedControl(vx::kZipProgId, &log_));
        ctl_.Attach(host_->Dispatch());
        ASSERT_TRUE(ctl_);
        // The zip control has no quiet switch: answer every message so no box comes up.
        log_.onMessage = [](long*, BSTR*, long* response) { *response = 1; };
    }
    void TearDown() override
    {
        ctl_.Detach();
        host_.reset();
    }
    short Add(const std::string& archive, const char* items)
    {
        ctl_.SetZIPFile(archive.c_str());
        ctl_.SetItemList(items);
        EXPECT_EQ(S_OK, ctl_.SetAction(vx::zip::Add));
        return ctl_.GetReturnValue();
    }
    // Counts and reads item information with the unzip control.
    long CountItems(const std::string& archive, short* firstMethod = nullptr)
    {
        HostedControl unzipHost(vx::kUnzipProgId, nullptr);
        Cvxunzipctrl u;
        u.Attach(unzipHost.Dispatch());
        u.SetZIPFile(archive.c_str());
        u.SetAction(vx::unzip::CountAllMembers);
        long count = u.GetReturnValue() == 0 ? u.GetCount() : -1;
        if (firstMethod) {
            u.SetIndex(0);
            u.SetAction(vx::unzip::GetIndexedInfo);
            *firstMethod = u.GetZIcMethod();
        }
        return count;
    }

    std::string out_;
    EventLog log_;
    std::unique_ptr<HostedControl> host_;
    Cvxzipctrl ctl_;
};

TEST_F(ZipControlTest, AddsTheItemListWithRecursion)
{
    const std::string archive = out_ + "\\made.zip";
    DeleteFileA(archive.c_str());
    ctl_.SetRecurseFlag(true);
    ctl_.SetMajorStatusFlag(true);
    ctl_.SetMinorStatusFlag(true);
    ASSERT_EQ(0, Add(archive, "readme.txt data.bin \"long name file.txt\" sub zipstring"));
    // readme, data, long name, sub/, sub/notes, sub/deeper/, sub/deeper/deep, zipstring
    EXPECT_EQ(8, CountItems(archive));
    ASSERT_FALSE(log_.major.empty());
    EXPECT_EQ(100, log_.major.back().percent);

    // Adding again replaces same-named items instead of duplicating them.
    ASSERT_EQ(0, Add(archive, "readme.txt zeros.bin"));
    EXPECT_EQ(9, CountItems(archive));
}

// Links back to their own folders are added as folders but never walked into: the walk
// would otherwise grow without end.
TEST_F(ZipControlTest, RecursionNeverFollowsLinks)
{
    const std::string archive = out_ + "\\links.zip";
    DeleteFileA(archive.c_str());
    ASSERT_NE(GetFileAttributesA(Fixture("links\\loop").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(FixtureDir().c_str()));
    ctl_.SetRecurseFlag(true);
    ASSERT_EQ(0, Add(archive, "links"));
    // links/, a.txt, loop/, sub/, sub/b.txt, sub/up/
    EXPECT_EQ(6, CountItems(archive));
}

TEST_F(ZipControlTest, WildcardsWithoutRecursionStayInTheirFolder)
{
    const std::string archive = out_ + "\\wild.zip";
    DeleteFileA(archive.c_str());
    ASSERT_EQ(0, Add(archive, "*.txt"));
    EXPECT_EQ(2, CountItems(archive));
    // "*.*" is every name, "zipstring" too, as the system's own listing has them.
    long listed = 0;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("*", &entry);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    do {
        listed += lstrcmpA(entry.cFileName, ".") != 0 && lstrcmpA(entry.cFileName, "..") != 0;
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    DeleteFileA(archive.c_str());
    ASSERT_EQ(0, Add(archive, "*.*"));
    EXPECT_EQ(listed, CountItems(archive));
}

TEST_F(ZipControlTest, DeflateLevelOption)
{
    const std::string stored = out_ + "\\level0.zip";
    const std::string packed = out_ + "\\level9.zip";
    DeleteFileA(stored.c_str());
    DeleteFileA(packed.c_str());
    short method = -1;
    ctl_.SetZipOption8(0);
    ASSERT_EQ(0, Add(stored, "zeros.bin"));
    EXPECT_EQ(1, CountItems(stored, &method));
    EXPECT_EQ(0, method);
    ctl_.SetZipOption8(9);
    ASSERT_EQ(0, Add(packed, "zeros.bin"));
    EXPECT_EQ(1, CountItems(packed, &method));
    EXPECT_EQ(8, method);
    ctl_.SetZipOption8(12);
    EXPECT_EQ(15, Add(packed, "zeros.bin"));
}

// A file too large to compress in memory that deflating does not shrink is stored, written
// again over its deflated copy: the archive is header, data and records, not a byte more.
TEST_F(ZipControlTest, DataThatDoesNotDeflateIsStoredWithNothingLeftBehind)
{
    const std::string name = "noise5m.bin";
    std::string noise(5000000, '\0');
    std::mt19937 random(5);
    for (char& c : noise) c = char(random() & 0xFF);
    WriteFileBytes(out_ + "\\" + name, noise);
    ASSERT_TRUE(SetCurrentDirectoryA(out_.c_str()));
    const std::string archive = out_ + "\\noise5m.zip";
    DeleteFileA(archive.c_str());
    ctl_.SetZipOption8(6);
    ASSERT_EQ(0, Add(archive, name.c_str()));
    short method = -1;
    EXPECT_EQ(1, CountItems(archive, &method));
    EXPECT_EQ(0, method);
    EXPECT_EQ(30 + name.size() + noise.size() + 46 + name.size() + 22, ReadFileBytes(archive).size());
    DeleteFileA((out_ + "\\" + name).c_str());
}

TEST_F(ZipControlTest, SplitArchiveInFloppyVolumes)
{
    const std::string archive = out_ + "\\split.zip";
    for (const char* f : {"split.zip", "split.z01", "split.z02", "split.z03"})
        DeleteFileA((out_ + "\\" + f).c_str());
    ctl_.SetMultiVolumeFlags(vx::zip::MultiVolume);
    ASSERT_TRUE(SetCurrentDirectoryA(Fixture("big").c_str()));
    ASSERT_EQ(0, Add(archive, "noise.bin"));
    EXPECT_TRUE(FileExists(out_ + "\\split.z01"));
    EXPECT_TRUE(FileExists(out_ + "\\split.z02"));
    EXPECT_TRUE(FileExists(archive));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA((out_ + "\\split.z01").c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(1457664u, data.nFileSizeLow);
}

// An update started from an event of an update of the same archive on the same thread (here
// through its short name) is refused as busy, while a read there sees the old archive at once.
// A split publish over an archive that is being read works; one that fails leaves no volume.
TEST_F(ZipControlTest, NestedUpdatesAreBusyAndSplitPublishesLeaveNoStrayVolume)
{
    const std::string archive = out_ + "\\Nested Update Archive.zip";
    DeleteFileA(archive.c_str());
    ASSERT_EQ(0, Add(archive, "readme.txt"));
    char shortName[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameA(archive.c_str(), shortName, MAX_PATH));
    long nested = -1, readCount = -1;
    ctl_.SetMajorStatusFlag(true);
    log_.onMajor = [&](BSTR*, long*, long*) {
        if (nested != -1) return;
        HostedControl inner(vx::kZipProgId, nullptr);
        Cvxzipctrl z;
        z.Attach(inner.Dispatch());
        z.SetZIPFile(shortName);
        z.SetItemList("data.bin");
        z.SetAction(vx::zip::Add);
        nested = z.GetReturnValue();
        z.Detach();
        readCount = CountItems(archive);
    };
    EXPECT_EQ(0, Add(archive, "zeros.bin"));
    EXPECT_EQ(100, nested);
    EXPECT_EQ(1, readCount);
    EXPECT_EQ(2, CountItems(archive));
    ctl_.SetMajorStatusFlag(false);

    const std::string split = out_ + "\\read_while_split.zip";
    for (const char* f : {"read_while_split.zip", "read_while_split.z01", "read_while_split.z02"})
        DeleteFileA((out_ + "\\" + f).c_str());
    ASSERT_EQ(0, Add(split, "readme.txt"));
    const std::string before = ReadFileBytes(split);
    HANDLE reader = CreateFileA(split.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    ctl_.SetMultiVolumeFlags(vx::zip::MultiVolume);
    ASSERT_TRUE(SetCurrentDirectoryA(Fixture("big").c_str()));
    EXPECT_EQ(0, Add(split, "noise.bin"));
    std::string seen(before.size(), '\0');
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(reader, &seen[0], static_cast<DWORD>(seen.size()), &got, nullptr));
    CloseHandle(reader);
    EXPECT_EQ(before, seen) << "the reader kept the old archive whole";
    EXPECT_TRUE(FileExists(out_ + "\\read_while_split.z01"));
    EXPECT_EQ(2, CountItems(split));

    const std::string locked = out_ + "\\read_only_split.zip";
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(locked.c_str());
    ASSERT_TRUE(SetCurrentDirectoryA(Fixture("src").c_str()));
    ctl_.SetMultiVolumeFlags(0);
    ASSERT_EQ(0, Add(locked, "readme.txt"));
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    ctl_.SetMultiVolumeFlags(vx::zip::MultiVolume);
    ASSERT_TRUE(SetCurrentDirectoryA(Fixture("big").c_str()));
    EXPECT_EQ(10, Add(locked, "noise.bin"));
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(FileExists(out_ + "\\read_only_split.z01"));
    EXPECT_EQ(1, CountItems(locked));
    ctl_.SetMultiVolumeFlags(0);
}

TEST_F(ZipControlTest, FailedOrCancelledUpdateLeavesTheOldArchive)
{
    const std::string archive = out_ + "\\keep.zip";
    DeleteFileA(archive.c_str());
    ASSERT_EQ(0, Add(archive, "readme.txt"));
    const std::string before = ReadFileBytes(archive);

    EXPECT_NE(0, Add(archive, "no_such_file.txt"));
    EXPECT_EQ(before, ReadFileBytes(archive));

    // A file held open without sharing is named in message 11 and fails the run (11): the
    // archive stays as it was rather than lose the item.
    HANDLE held = CreateFileA("data.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    log_.messageCodes.clear();
    EXPECT_EQ(11, Add(archive, "readme.txt data.bin zeros.bin"));
    CloseHandle(held);
    EXPECT_EQ(std::vector<long>{11}, log_.messageCodes);
    EXPECT_EQ(before, ReadFileBytes(archive));

    ctl_.SetMinorStatusFlag(true);
    ctl_.SetOptionBits(2);
    log_.onMinor = [](BSTR*, long*, long* cancel) { *cancel = 1; };
    EXPECT_EQ(14, Add(archive, "data.bin zeros.bin"));
    EXPECT_EQ(before, ReadFileBytes(archive));
}

TEST_F(ZipControlTest, OwnProgressWindowCancelKeepsTheArchive)
{
    const std::string archive = out_ + "\\progress.zip";
    DeleteFileA(archive.c_str());
    ASSERT_EQ(0, Add(archive, "readme.txt"));
    const std::string before = ReadFileBytes(archive);
    ctl_.SetOptionBits(2 | 4 | 8);
    ctl_.SetExtProgTitle("Zip Progress Title");
    ctl_.SetMinorStatusFlag(true);
    bool seen = false;
    log_.onMinor = [&](BSTR*, long*, long*) {
        HWND w = FindWindowA("VXProgressWindow", "Zip Progress Title");
        if (!w || seen) return;
        seen = true;
        SendMessageA(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(14, Add(archive, "data.bin zeros.bin"));
    EXPECT_TRUE(seen);
    EXPECT_EQ(before, ReadFileBytes(archive));
}

DWORD RunProgram(const std::string& path)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = "\"" + path + "\"";
    if (!CreateProcessA(path.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return DWORD(-1);
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

// Lists, tests and extracts an archive with the unzip control; the extracted files must equal
// their sources in the fixture folder "src". Returns the item count.
long CheckWithUnzipControl(const std::string& archive, const std::string& dest)
{
    HostedControl host(vx::kUnzipProgId, nullptr);
    Cvxunzipctrl u;
    u.Attach(host.Dispatch());
    u.SetZIPFile(archive.c_str());
    u.SetAction(vx::unzip::CountAllMembers);
    EXPECT_EQ(0, u.GetReturnValue());
    const long count = u.GetCount();
    u.SetTestFlag(true);
    u.SetAction(vx::unzip::Extract);
    EXPECT_EQ(0, u.GetReturnValue());
    u.SetTestFlag(false);
    u.SetDestination(dest.c_str());
    u.SetRecurseFlag(true);
    u.SetOverwriteFlag(true);
    u.SetAction(vx::unzip::Extract);
    EXPECT_EQ(0, u.GetReturnValue());
    for (long i = 0; i < count; ++i) {
        u.SetIndex(i);
        u.SetAction(vx::unzip::GetIndexedInfo);
        std::string name = u.GetZIszFileName();
        if (name.empty() || name.back() == '/') continue;
        for (char& c : name)
            if (c == '/') c = '\\';
        EXPECT_EQ(ReadFileBytes(Fixture("src\\" + name)), ReadFileBytes(dest + "\\" + name)) << name;
    }
    return count;
}

// The self-extractor made by Info-ZIP (our stub, zip -A) reads as an archive; updated by the
// control it keeps its program byte for byte, still starts, and reads with the added item.
// check_zip_outputs.sh then has Info-ZIP test it.
TEST_F(ZipControlTest, UpdatedSelfExtractorStillStartsAndReads)
{
    const std::string stub = ReadFileBytes(Fixture("sfx_stub.exe"));
    ASSERT_FALSE(stub.empty());
    const long before = CheckWithUnzipControl(Fixture("sfx.exe"), FreshFolder("sfx_before"));
    EXPECT_EQ(6, before); // readme, data, sub/, sub/notes, sub/deeper/, sub/deeper/deep

    const std::string updated = out_ + "\\sfx_updated.exe";
    ASSERT_TRUE(CopyFileA(Fixture("sfx.exe").c_str(), updated.c_str(), FALSE));
    ASSERT_EQ(0, Add(updated, "zipstring \"long name file.txt\""));
    EXPECT_EQ(stub, ReadFileBytes(updated).substr(0, stub.size()));
    EXPECT_EQ(42u, RunProgram(updated));
    EXPECT_EQ(before + 2, CheckWithUnzipControl(updated, FreshFolder("sfx_after")));
}

TEST_F(ZipControlTest, ActionZeroOnlyStoresTheCode)
{
    ctl_.SetReturnValue(0);
    ctl_.SetZIPFile((out_ + "\\never.zip").c_str());
    ctl_.SetItemList("readme.txt");
    EXPECT_EQ(S_OK, ctl_.SetAction(0));
    EXPECT_EQ(0, ctl_.GetReturnValue());
    EXPECT_FALSE(FileExists(out_ + "\\never.zip"));
    EXPECT_EQ(S_OK, ctl_.SetAction(3));
    EXPECT_EQ(15, ctl_.GetReturnValue());
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new RegisteredControls);
    return RUN_ALL_TESTS();
}
