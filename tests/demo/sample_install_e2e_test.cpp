// The sample installation end to end: what it puts on the machine, what the
// uninstaller started from the entry's UninstallString reviews, and a whole
// uninstall that takes it all away again.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "installer/sample/sample_install_win.h"
#include "tests/demo/sample_session_win.h"
#include "tests/driver/window_watch.h"
#include "tests/skerrit/skerrit_e2e_support_win.h"

using namespace sample_session;

namespace {

std::vector<std::string> SortedNoCase(std::vector<std::string> items) {
    std::sort(items.begin(), items.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return items;
}

class SampleInstall : public ::testing::Test {
protected:
    void SetUp() override {
        char root[64];
        wsprintfA(root, "C:\\tvsmp%lx", GetCurrentProcessId());
        root_ = root;
        e2e::RemoveTree(root_);
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
        options_.product = "H9 Sample Product";
        options_.version = "3.20";
        options_.group = "H9 Sample Group";
        options_.install_folder = root_ + "\\Program Files\\H9 Sample";
        options_.shared_folder = root_ + "\\Common Files\\Varnex";
        plan_ = PlanSampleInstall(options_);
        shared_ = options_.shared_folder + "\\VXSTATUS.DLL";
        CleanUp();
    }
    void TearDown() override {
        uninstaller_.process.Kill();
        uninstaller_.process.Wait(5000);
        CleanUp();
        e2e::RemoveTree(root_);
        skerrit_e2e::RemoveTempCopies();
    }
    void CleanUp() {
        skerrit_e2e::DeleteUninstallEntry(options_.product);
        RemoveSharedCount(shared_);
        for (const InstalledThing& thing : InstalledThings(options_, plan_)) {
            if (thing.what == "shortcut") DeleteFileA(thing.path.c_str());
        }
        RemoveDirectoryA(GroupFolder().c_str());
    }
    std::string GroupFolder() {
        const std::string link = ShortcutLinkPath(options_, plan_.shortcuts.front());
        return link.substr(0, link.find_last_of('\\'));
    }

    void Install() {
        e2e::Process install = StartSampleInstall(options_);
        ASSERT_TRUE(install.valid());
        DWORD code = 99;
        ASSERT_TRUE(install.Wait(60000, &code));
        ASSERT_EQ(code, 0u) << "tvsample failed";
    }
    // Starts the entry's UninstallString and goes on to the review.
    HWND UninstallToReview() {
        const std::string command = UninstallString(options_.product);
        if (command.empty()) return nullptr;
        e2e::Process launcher = StartCommandLine(command);
        if (!launcher.valid()) return nullptr;
        uninstaller_ = WaitForUninstaller(launcher.pid(), 20000);
        DWORD code = 99;
        EXPECT_TRUE(launcher.Wait(10000, &code));
        EXPECT_EQ(code, 0u) << "the launcher ends once its temporary copy runs";
        if (uninstaller_.welcome == nullptr || !uninstaller_.process.valid()) return nullptr;
        EXPECT_NE(uninstaller_.process.pid(), launcher.pid());
        if (!e2e::ClickButton(uninstaller_.welcome, IDOK)) return nullptr;
        return WaitForDialog(uninstaller_, kReviewTitle);
    }

    std::string root_, shared_;
    SampleOptions options_;
    SamplePlan plan_;
    Uninstaller uninstaller_;
};

TEST_F(SampleInstall, PutsEverythingInPlaceAndTheReviewListsItAll) {
    ASSERT_NO_FATAL_FAILURE(Install());
    for (const InstalledThing& thing : InstalledThings(options_, plan_))
        EXPECT_TRUE(e2e::FileExists(thing.path)) << thing.what << " " << thing.path;
    EXPECT_TRUE(e2e::FileExists(plan_.log_path));
    EXPECT_EQ(SharedCount(shared_), 1u);
    EXPECT_EQ(skerrit_e2e::RegistryString(options_.product, "DisplayName"), "H9 Sample Product 3.20");
    EXPECT_EQ(UninstallString(options_.product), ExpectedUninstallString(options_, plan_));
    EXPECT_EQ(skerrit_e2e::RegistryString(options_.product, "QuietUninstallString"),
              "\"" + plan_.uninstaller_path + "\" /L \"" + plan_.log_path + "\" /N \"" + options_.product + "\" /Z 1 /S");
    EXPECT_EQ(skerrit_e2e::RegistryString(options_.product, "DisplayVersion"), "3.20");

    HWND review = UninstallToReview();
    ASSERT_NE(review, nullptr);
    EXPECT_EQ(e2e::ListBoxItems(review, kReviewList), SortedNoCase(ExpectedReviewItems(options_, plan_)));
    ASSERT_TRUE(e2e::ClickButton(review, IDCANCEL));
    DWORD code = 99;
    ASSERT_TRUE(uninstaller_.process.Wait(15000, &code));
    EXPECT_EQ(code, 0u);
    for (const InstalledThing& thing : InstalledThings(options_, plan_))
        EXPECT_TRUE(e2e::FileExists(thing.path)) << "a cancelled review removes nothing: " << thing.path;
    EXPECT_TRUE(UninstallEntryExists(options_.product));

    // Installing again over the first installation counts the shared file twice.
    ASSERT_NO_FATAL_FAILURE(Install());
    EXPECT_EQ(SharedCount(shared_), 2u);
}

TEST_F(SampleInstall, WholeUninstallFromTheUninstallStringRemovesEverythingListed) {
    ASSERT_NO_FATAL_FAILURE(Install());
    HWND review = UninstallToReview();
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(e2e::ClickButton(review, IDOK));

    HWND shared = WaitForDialog(uninstaller_, kSharedTitle, 20000);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(lstrcmpiA(e2e::ControlText(shared, kSharedPath).c_str(), shared_.c_str()), 0);
    ASSERT_TRUE(e2e::ClickButton(shared, IDOK));

    HWND restart = WaitForDialog(uninstaller_, kRestartTitle, 20000);
    ASSERT_NE(restart, nullptr);
    e2e::SetChecked(restart, kRestartNow, false);  // never restart the test machine
    e2e::SetChecked(restart, kRestartLater, true);
    ASSERT_TRUE(e2e::ClickButton(restart, IDOK));
    DWORD code = 99;
    ASSERT_TRUE(uninstaller_.process.Wait(15000, &code));
    EXPECT_EQ(code, 0u);

    for (const InstalledThing& thing : InstalledThings(options_, plan_))
        EXPECT_FALSE(e2e::FileExists(thing.path)) << thing.what << " left: " << thing.path;
    EXPECT_FALSE(e2e::FileExists(plan_.log_path));
    EXPECT_FALSE(e2e::FolderExists(options_.install_folder));
    EXPECT_FALSE(e2e::FolderExists(options_.shared_folder));
    EXPECT_FALSE(e2e::FolderExists(GroupFolder())) << "the emptied program group goes too";
    EXPECT_FALSE(UninstallEntryExists(options_.product));
    EXPECT_EQ(SharedCount(shared_), 1u) << "the uninstaller leaves the shared-file count alone";
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "\n  " + line;
    return text;
}

// As a deployment tool runs it: the entry's QuietUninstallString through
// `cmd /c "<command>"`, nobody at the screen, the result read from the exit
// status of the process it started (0: success). A name and folder with
// `& ( )` and blanks reach the uninstaller whole.
TEST_F(SampleInstall, QuietUninstallRemovesAllButTheSharedFileWithoutAWindow) {
    options_.product = "H9 R&D (x86) Tools";
    options_.install_folder = root_ + "\\Program Files\\H9 R&D (x86)";
    plan_ = PlanSampleInstall(options_);
    CleanUp();
    ASSERT_NO_FATAL_FAILURE(Install());
    const std::string quiet = skerrit_e2e::RegistryString(options_.product, "QuietUninstallString");
    const std::vector<std::string> copies_before = skerrit_e2e::TempCopies();
    const std::string params = root_ + "\\params.ini";
    ASSERT_TRUE(e2e::WriteFile(params, "[TVRTP]\r\nExitCode=7\r\n"));

    e2e::WindowWatch watch;
    e2e::Process launcher = StartCommandLine("cmd.exe /c \"" + quiet + " /R " + params + "\"");
    ASSERT_TRUE(launcher.valid()) << quiet;
    DWORD code = 99;
    ASSERT_TRUE(launcher.Wait(60000, &code)) << "the launcher waits for its temporary copy";
    EXPECT_EQ(watch.Stop(), std::vector<std::string>()) << "windows shown:" << Lines(watch.Stop());
    EXPECT_EQ(code, 0u) << quiet;
    EXPECT_EQ(e2e::ReadIni(params, "TVRTP", "ExitCode"), "1");

    for (const InstalledThing& thing : InstalledThings(options_, plan_)) {
        if (lstrcmpiA(thing.path.c_str(), shared_.c_str()) == 0)
            EXPECT_TRUE(e2e::FileExists(thing.path)) << "a silent run keeps shared files";
        else
            EXPECT_FALSE(e2e::FileExists(thing.path)) << thing.what << " left: " << thing.path;
    }
    EXPECT_EQ(SharedCount(shared_), 1u);
    EXPECT_FALSE(e2e::FileExists(plan_.log_path));
    EXPECT_FALSE(e2e::FolderExists(options_.install_folder)) << "the waiting launcher no longer holds it";
    EXPECT_FALSE(e2e::FolderExists(GroupFolder()));
    EXPECT_FALSE(UninstallEntryExists(options_.product));

    std::vector<std::string> copies;
    for (const std::string& copy : skerrit_e2e::TempCopies())
        if (std::find(copies_before.begin(), copies_before.end(), copy) == copies_before.end()) copies.push_back(copy);
    ASSERT_EQ(copies.size(), 0u) << "the launcher deletes its temporary copy once it ended: " << copies[0];
}

// A listed file another program holds open goes at the next restart: the
// removal still succeeds, with a restart needed (3010).
TEST_F(SampleInstall, QuietUninstallWithAFileHeldOpenAsksForARestart) {
    ASSERT_NO_FATAL_FAILURE(Install());
    std::string held;
    for (const PayloadFile& file : plan_.files)
        if (file.logged && !file.shared && file.target != plan_.uninstaller_path && held.empty()) held = file.target;
    HANDLE open = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE) << held;
    e2e::Process launcher = StartCommandLine(skerrit_e2e::RegistryString(options_.product, "QuietUninstallString"));
    ASSERT_TRUE(launcher.valid());
    DWORD code = 99;
    const bool ended = launcher.Wait(60000, &code);
    CloseHandle(open);
    ASSERT_TRUE(ended);
    EXPECT_EQ(code, 3010u);
    EXPECT_TRUE(PendingDeletion(held)) << held;
    for (const PayloadFile& file : plan_.files) {
        if (file.target != held && !file.shared) EXPECT_FALSE(e2e::FileExists(file.target)) << file.target;
    }
    EXPECT_FALSE(UninstallEntryExists(options_.product));
}

TEST_F(SampleInstall, QuietUninstallWithoutItsLogFailsAndRemovesNothing) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_TRUE(DeleteFileA(plan_.log_path.c_str()));
    const std::string params = root_ + "\\params.ini";
    ASSERT_TRUE(e2e::WriteFile(params, "[TVRTP]\r\nExitCode=1\r\n"));

    e2e::WindowWatch watch;
    e2e::Process launcher =
        StartCommandLine(skerrit_e2e::RegistryString(options_.product, "QuietUninstallString") + " /R " + params);
    ASSERT_TRUE(launcher.valid());
    DWORD code = 99;
    ASSERT_TRUE(launcher.Wait(60000, &code));
    EXPECT_EQ(watch.Stop(), std::vector<std::string>()) << "windows shown:" << Lines(watch.Stop());
    EXPECT_EQ(code, 1603u) << "a failure as the Windows Installer reports one";
    EXPECT_EQ(e2e::ReadIni(params, "TVRTP", "ExitCode"), "2");
    for (const InstalledThing& thing : InstalledThings(options_, plan_))
        EXPECT_TRUE(e2e::FileExists(thing.path)) << thing.what << " removed: " << thing.path;
    EXPECT_TRUE(UninstallEntryExists(options_.product));
}

TEST_F(SampleInstall, RefusesAnInstallationItCannotCompleteBeforePlacingAnything) {
    // Fits the uninstaller's entry, but not a path below the Start menu.
    options_.group = std::string(200, 'g');
    e2e::Process install = StartSampleInstall(options_);
    ASSERT_TRUE(install.valid());
    DWORD code = 99;
    ASSERT_TRUE(install.Wait(30000, &code));
    EXPECT_EQ(code, 2u);
    EXPECT_FALSE(e2e::FolderExists(options_.install_folder));
    EXPECT_FALSE(UninstallEntryExists(options_.product));
    EXPECT_EQ(SharedCount(shared_), 0u);
}

// The path registered as the in-process server of a control's programmatic id.
std::string ServerPath(const wchar_t* prog_id) {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(prog_id, &clsid))) return "<no class>";
    wchar_t text[64] = {};
    StringFromGUID2(clsid, text, 64);
    char narrow[64] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    char path[MAX_PATH] = {};
    LONG size = sizeof(path);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + narrow + "\\InprocServer32").c_str(), path,
                       &size) != ERROR_SUCCESS)
        return "<no server>";
    return path;
}

void RegisterFromBin(const char* dll) {
    HMODULE module = LoadLibraryA(e2e::BinPath(dll).c_str());
    if (module == nullptr) return;
    using Register = HRESULT(STDAPICALLTYPE*)();
    if (auto entry = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer"))))
        entry();
    FreeLibrary(module);
}

class SampleInstallWithControls : public SampleInstall {
protected:
    void TearDown() override {
        // Other tests find the controls beside them again.
        for (const char* dll : {"VXUNZIP.DLL", "VXZIP.DLL", "VXSTATUS.DLL"}) RegisterFromBin(dll);
        SampleInstall::TearDown();
    }
};

TEST_F(SampleInstallWithControls, RegistersTheInstalledControlsThroughTolvane) {
    options_.register_controls = true;
    e2e::Process install = StartSampleInstall(options_);
    ASSERT_TRUE(install.valid());
    ASSERT_TRUE(AcceptRegistration(30000)) << "tolvane's confirmation after its expansion run";
    DWORD code = 99;
    ASSERT_TRUE(install.Wait(60000, &code));
    EXPECT_EQ(code, 0u) << "both tolvane runs and skerrit /I report ExitCode 1";
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(lstrcmpiA(ServerPath(L"VXUNZIPLibCtl.vxunzipctrl").c_str(),
                        (options_.install_folder + "\\VXUNZIP.DLL").c_str()),
              0)
        << ServerPath(L"VXUNZIPLibCtl.vxunzipctrl");
    CoUninitialize();
    EXPECT_TRUE(UninstallEntryExists(options_.product));
}

}  // namespace
