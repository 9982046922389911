// Jobs that share one folder or one archive, started at once with the real controls, in
// one corvane and in two: every job succeeds and none loses another's work.
#include "corvane/resource.h"
#include "tests/driver/e2e_driver.h"
#include "toolkit/shared/win32_file_system_win.h"
#include "tests/corvane/corvane_session_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using corvane_e2e::Fixture;
using corvane_e2e::Session;

const char* const kSmallItems[] = {"readme.txt", "numbers.txt", "data.bin", "zeros.bin", "notes.txt", "deep.txt"};
constexpr int kManyItems = 40;

class ConcurrentJobs : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(corvane_e2e::RegisterControls()); }
};

// Starts `count` jobs spread over the sessions without waiting for any to end; `prepare`
// sets the fields of job n. A job reads the fields on its own thread once it runs, so with
// `settle` the next job's fields are set only after this job's status shows it has begun
// (or it ended). Returns how many status dialogs were up at once at most.
template <typename Prepare>
size_t StartJobs(std::vector<Session*> sessions, int button, const char* title, int majorText, int count,
                 bool settle, Prepare prepare)
{
    size_t mostAtOnce = 0;
    for (int n = 0; n < count; ++n) {
        Session& s = *sessions[size_t(n) % sessions.size()];
        const std::vector<HWND> before = s.Windows(title);
        prepare(s, n);
        EXPECT_TRUE(s.Click(button)) << "job " << n;
        size_t up = 0;
        for (Session* each : sessions) up += each->Windows(title).size();
        mostAtOnce = std::max(mostAtOnce, up);
        if (!settle) continue;
        e2e::WaitUntil([&] {
            for (HWND w : s.Windows(title))
                if (std::find(before.begin(), before.end(), w) == before.end() && !e2e::ControlText(w, majorText).empty())
                    return true;
            return false;
        }, 3000);
    }
    return mostAtOnce;
}

// Waits until every job has ended; returns how many status dialogs were up at once at most.
size_t ExpectAllEndedWell(std::vector<Session*> sessions, const char* title)
{
    size_t mostAtOnce = 0;
    const bool ended = e2e::WaitUntil([&] {
        size_t up = 0;
        for (Session* s : sessions) up += s->Windows(title).size();
        mostAtOnce = std::max(mostAtOnce, up);
        return up == 0;
    }, 120000);
    EXPECT_TRUE(ended) << title << " still open";
    for (Session* s : sessions) EXPECT_EQ(s->AnyMessageBox(), nullptr) << "a job reported a failure";
    return mostAtOnce;
}

// A job's dialog may come up only after the clicks returned, so "no dialog open" alone does
// not mean the jobs have ended: the outputs are awaited as well.
bool Eventually(const std::function<bool()>& condition) { return e2e::WaitUntil(condition, 120000); }

bool SameAsFixtures(const std::string& folder, const std::string& fixtureFolder, const std::vector<std::string>& names)
{
    for (const std::string& name : names)
        if (!corvane_e2e::SameFileContents(folder + "\\" + name, Fixture(fixtureFolder + "\\") + name)) return false;
    return true;
}

bool TemporaryFilesIn(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*.~vx*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return true;
}

// Items an archive's end record counts.
int ArchiveItemCount(const std::string& path)
{
    std::string bytes;
    if (!e2e::ReadFile(path, &bytes)) return -1;
    const size_t end = bytes.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos || end + 22 > bytes.size()) return -1;
    return static_cast<unsigned char>(bytes[end + 10]) | static_cast<unsigned char>(bytes[end + 11]) << 8;
}

void ExtractTogether(std::vector<Session*> sessions, int jobs, const std::string& out)
{
    const size_t whileStarting =
        StartJobs(sessions, IDC_NEW_UNZIP_THREAD, "UnZipping", IDC_UNZIP_MAJOR_TEXT, jobs, false, [&](Session& s, int) {
            s.SetText(IDC_UNZIP_FILENAME, Fixture("many.zip"));
            s.SetText(IDC_FILE_SPEC, "*.*");
            s.SetText(IDC_DESTINATION, out);
        });
    // Dialogs up at once while the jobs run: sampled until some came up and all went.
    size_t mostAtOnce = whileStarting;
    e2e::WaitUntil([&] {
        size_t up = 0;
        for (Session* s : sessions) up += s->Windows("UnZipping").size();
        mostAtOnce = std::max(mostAtOnce, up);
        return mostAtOnce > 0 && up == 0;
    }, 120000);
    std::vector<std::string> names;
    for (int n = 1; n <= kManyItems; ++n) names.push_back("item" + std::to_string(n) + ".txt");
    EXPECT_TRUE(Eventually([&] { return SameAsFixtures(out, "many", names); }));
    ExpectAllEndedWell(sessions, "UnZipping");
    EXPECT_GE(mostAtOnce, 2u) << "the jobs ran one after the other";
    for (const std::string& name : names)
        EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\" + name, Fixture("many\\") + name)) << name;
    EXPECT_FALSE(TemporaryFilesIn(out));
}

// Each job adds a file of its own to one archive; Info-ZIP checks the archives afterwards
// (check_outputs.sh).
void UpdateTogether(std::vector<Session*> sessions, const std::string& out)
{
    constexpr int kJobs = 10;
    CreateDirectoryA((out + "\\in").c_str(), nullptr);
    for (int n = 0; n < kJobs; ++n)
        ASSERT_TRUE(e2e::WriteFile(out + "\\in\\item" + std::to_string(n) + ".txt",
                                   "item " + std::to_string(n) + std::string(20000 + n * 31, 'x')));
    StartJobs(sessions, IDC_NEW_ZIP_THREAD, "Zipping", IDC_ZIP_MAJOR_TEXT, kJobs, true, [&](Session& s, int n) {
        s.SetText(IDC_ZIP_FILENAME, out + "\\shared.zip");
        s.SetText(IDC_ITEM_LIST, out + "\\in\\item" + std::to_string(n) + ".txt");
        s.SetChecked(IDC_ZIP_RECURSE, false);
    });
    EXPECT_TRUE(Eventually([&] { return ArchiveItemCount(out + "\\shared.zip") == kJobs; }));
    ExpectAllEndedWell(sessions, "Zipping");
    EXPECT_EQ(ArchiveItemCount(out + "\\shared.zip"), kJobs) << "an update was lost";
    EXPECT_FALSE(TemporaryFilesIn(out));
}

TEST_F(ConcurrentJobs, TwoAndTenExtractionsIntoOneFolderAllSucceed)
{
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    ExtractTogether({&s}, 2, corvane_e2e::FreshOutputFolder("together2"));
    ExtractTogether({&s}, 10, corvane_e2e::FreshOutputFolder("together10"));
}

TEST_F(ConcurrentJobs, TenUpdatesOfOneArchiveKeepEveryItem)
{
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    UpdateTogether({&s}, corvane_e2e::FreshOutputFolder("updates"));
}

TEST_F(ConcurrentJobs, TwoProcessesShareAFolderAndAnArchive)
{
    Session a, b;
    ASSERT_NE(a.Main(), nullptr);
    ASSERT_NE(b.Main(), nullptr);
    ExtractTogether({&a, &b}, 10, corvane_e2e::FreshOutputFolder("together2p"));
    UpdateTogether({&a, &b}, corvane_e2e::FreshOutputFolder("updates2p"));
}

// The extraction sees the old archive or the new one, whole; neither job fails.
TEST_F(ConcurrentJobs, AnUpdateAndAnExtractionOfOneArchiveAtOnce)
{
    const std::string out = corvane_e2e::FreshOutputFolder("readwrite");
    ASSERT_TRUE(CopyFileA(Fixture("small.zip").c_str(), (out + "\\rw.zip").c_str(), FALSE));
    ASSERT_TRUE(e2e::WriteFile(out + "\\added.txt", std::string(300000, 'a')));
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_ZIP_FILENAME, out + "\\rw.zip");
    s.SetText(IDC_ITEM_LIST, out + "\\added.txt");
    s.SetText(IDC_UNZIP_FILENAME, out + "\\rw.zip");
    s.SetText(IDC_FILE_SPEC, "*.*");
    s.SetText(IDC_DESTINATION, out + "\\x");
    ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD));
    ASSERT_TRUE(s.Click(IDC_NEW_UNZIP_THREAD));
    const std::vector<std::string> names(std::begin(kSmallItems), std::end(kSmallItems));
    EXPECT_TRUE(Eventually([&] { return SameAsFixtures(out + "\\x", "ref", names); }));
    EXPECT_TRUE(Eventually([&] { return ArchiveItemCount(out + "\\rw.zip") == 8 + 1; }));
    ExpectAllEndedWell({&s}, "Zipping");
    ExpectAllEndedWell({&s}, "UnZipping");
    for (const char* name : kSmallItems)
        EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\x\\" + name, Fixture("ref\\") + name)) << name;
    EXPECT_EQ(ArchiveItemCount(out + "\\rw.zip"), 8 + 1);  // small.zip's 6 files and 2 folders, and the new one
    EXPECT_FALSE(TemporaryFilesIn(out));
    EXPECT_FALSE(TemporaryFilesIn(out + "\\x"));
}

// Holds an archive's turn from outside, as a run of another program would.
// The archive's turn, taken as every run of the controls takes it.
class HeldArchiveTurn {
public:
    explicit HeldArchiveTurn(const std::string& archive) : lock_(vxfs::Win32FileSystem().lockArchive(archive, nullptr)) {}
    bool Held() const { return lock_ != nullptr; }
    void Release() { lock_.reset(); }

private:
    std::unique_ptr<zipcore::ArchiveLock> lock_;
};

DWORD HandleCount(e2e::Process& process)
{
    DWORD count = 0;
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process.pid());
    if (h == nullptr) return 0;
    if (!GetProcessHandleCount(h, &count)) count = 0;
    CloseHandle(h);
    return count;
}

// While the archive's turn is held, fifty extraction jobs of it run and end well (a
// single-file archive is replaced whole, so readers do not wait); then fifty compression jobs
// wait with their dialogs up, every slot is taken (a job keeps its slot for the run), the turn
// comes and every one of them ends well.
TEST_F(ConcurrentJobs, AHundredJobsAliveAtOnceAllEndWell)
{
    const std::string out = corvane_e2e::FreshOutputFolder("hundred");
    const std::string archive = out + "\\held.zip";
    ASSERT_TRUE(CopyFileA(Fixture("small.zip").c_str(), archive.c_str(), FALSE));
    ASSERT_TRUE(e2e::WriteFile(out + "\\added.txt", std::string(5000, 'h')));
    Session s;
    ASSERT_NE(s.Main(), nullptr);
    s.SetText(IDC_ZIP_FILENAME, archive);
    s.SetText(IDC_ITEM_LIST, out + "\\added.txt");
    s.SetChecked(IDC_ZIP_RECURSE, false);
    s.SetText(IDC_UNZIP_FILENAME, archive);
    s.SetText(IDC_FILE_SPEC, "*.*");
    s.SetText(IDC_DESTINATION, out + "\\x");
    const DWORD handlesBefore = HandleCount(s.Process());

    HeldArchiveTurn turn(archive);
    ASSERT_TRUE(turn.Held());
    for (int n = 0; n < 50; ++n) ASSERT_TRUE(s.Click(IDC_NEW_UNZIP_THREAD)) << "extraction " << n;
    ExpectAllEndedWell({&s}, "UnZipping");
    for (const char* name : kSmallItems)
        EXPECT_TRUE(corvane_e2e::SameFileContents(out + "\\x\\" + name, Fixture("ref\\") + name)) << name;

    for (int n = 0; n < 50; ++n) ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD)) << "job " << n;
    EXPECT_TRUE(e2e::WaitUntil([&] { return s.Windows("Zipping").size() == 50; }, 60000))
        << s.Windows("Zipping").size() << " compression dialogs up";
    EXPECT_EQ(s.AnyMessageBox(), nullptr);
    ASSERT_TRUE(s.Click(IDC_NEW_ZIP_THREAD));
    HWND box = s.WaitForMessageBox("No More threads available");
    ASSERT_NE(box, nullptr) << "the 101st job found a slot";
    s.CloseMessageBox(box);

    turn.Release();
    ExpectAllEndedWell({&s}, "Zipping");
    EXPECT_TRUE(Eventually([&] { return s.Process().Running() && ArchiveItemCount(archive) == 8 + 1; }));
    EXPECT_EQ(ArchiveItemCount(archive), 8 + 1);
    EXPECT_FALSE(TemporaryFilesIn(out));
    EXPECT_FALSE(TemporaryFilesIn(out + "\\x"));
    // The ended jobs' threads hold no handles of the program any more.
    const DWORD handlesAfter = HandleCount(s.Process());
    if (handlesBefore != 0 && handlesAfter != 0)
        EXPECT_LT(handlesAfter, handlesBefore + 30) << handlesBefore << " handles before, " << handlesAfter << " after";
    else
        std::printf("handle counts not available here\n");
}

} // namespace
