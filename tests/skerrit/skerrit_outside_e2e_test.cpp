// What a removal must leave alone on a real machine: a system-folder file no
// shared-files value names, a shared file the log spells by its short name,
// and the folders of another user's profile (the installing user's, when the
// uninstaller runs elevated as another account). Also Enter and a closed main
// window while the removal runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/e2e_driver.h"
#include "tests/skerrit/removal_run_fixture_win.h"

using namespace skerrit_e2e;

namespace {

const char kSharedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char kOtherProfileKey[] =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-5-5-5-1025";

std::string SystemFolder() {
    char path[MAX_PATH];
    GetSystemDirectoryA(path, MAX_PATH);
    return path;
}

std::string ProfilesFolder() {
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    HKEY key;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", 0,
                  KEY_READ, &key);
    RegQueryValueExA(key, "ProfilesDirectory", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    char expanded[MAX_PATH];
    ExpandEnvironmentStringsA(path, expanded, MAX_PATH);
    return expanded;
}

class OutsideRun : public RemovalRun {
protected:
    void SetUp() override {
        RemovalRun::SetUp();
        system_file_ = SystemFolder() + "\\sk25 system.dll";
        ASSERT_TRUE(e2e::WriteFile(system_file_, "system"));
        shared_ = folder_ + "\\Shared Components Folder\\shared library.dll";
        CreateDirectoryA((folder_ + "\\Shared Components Folder").c_str(), nullptr);
        ASSERT_TRUE(e2e::WriteFile(shared_, "shared"));
        char short_path[MAX_PATH];
        ASSERT_GT(GetShortPathNameA(shared_.c_str(), short_path, MAX_PATH), 0u);
        shared_short_ = short_path;
        ASSERT_NE(shared_short_, shared_) << "the prefix makes no short names";
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        const DWORD count = 1;
        RegSetValueExA(key, shared_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
        RegCloseKey(key);

        // Another user's profile, listed the way Windows lists it.
        other_ = ProfilesFolder() + "\\sk25 installer";
        const std::string image = "%SystemDrive%" + other_.substr(2);
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOtherProfileKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExA(key, "ProfileImagePath", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(image.c_str()),
                       static_cast<DWORD>(image.size() + 1));
        RegCloseKey(key);
        other_files_ = {other_ + "\\Desktop\\Product.lnk", other_ + "\\Start Menu\\Programs\\Product\\Product.lnk",
                        other_ + "\\AppData\\Roaming\\Product\\settings.ini"};
        std::string log = "Installing\r\n" + app_ + "\\a.txt (Extracted)\r\n" + app_ + "\\sub\\b.txt (Extracted)\r\n" +
                          system_file_ + " (Extracted)\r\n" + shared_short_ + " (Extracted)\r\n";
        for (const std::string& file : other_files_) {
            for (std::size_t slash = file.find('\\', 3); slash != std::string::npos; slash = file.find('\\', slash + 1))
                CreateDirectoryA(file.substr(0, slash).c_str(), nullptr);
            ASSERT_TRUE(e2e::WriteFile(file, "other user's"));
            log += file + " (Extracted)\r\n";
        }
        ASSERT_TRUE(e2e::WriteFile(log_, log));
    }
    void TearDown() override {
        RemovalRun::TearDown();
        DeleteFileA(system_file_.c_str());
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, shared_.c_str());
            RegCloseKey(key);
        }
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kOtherProfileKey);
        e2e::RemoveTree(other_);
    }
    // The other profile's listed files go; its folders stay.
    void ExpectOtherProfileKeptWhole() {
        for (const std::string& file : other_files_) EXPECT_FALSE(e2e::FileExists(file)) << file;
        for (const char* folder : {"Desktop", "Start Menu\\Programs", "AppData\\Roaming"})
            EXPECT_TRUE(e2e::FolderExists(other_ + "\\" + folder)) << folder;
        EXPECT_FALSE(e2e::FolderExists(other_ + "\\Start Menu\\Programs\\Product"));
        EXPECT_FALSE(e2e::FolderExists(other_ + "\\AppData\\Roaming\\Product"));
        EXPECT_FALSE(e2e::FileExists(app_ + "\\a.txt"));
    }
    std::string system_file_, shared_, shared_short_, other_;
    std::vector<std::string> other_files_;
};

TEST_F(OutsideRun, DialogRunAsksAboutTheSystemFileAndTheShortSpelledSharedFile) {
    HWND review = ContinueToReview();
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(e2e::ClickButton(review, 1));
    std::vector<std::string> asked;
    HWND restart = nullptr;
    e2e::WaitUntil([&] {
        if (HWND question = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Shared File", 300)) {
            asked.push_back(e2e::ControlText(question, 1009));
            e2e::ClickButton(question, 2);  // Skip
            e2e::WaitForWindowGone(question, 3000);
        }
        restart = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Restart", 300);
        return restart != nullptr;
    }, 30000);
    ASSERT_NE(restart, nullptr);
    FinishWithRestartLater();
    const auto was_asked = [&](const std::string& path) {
        for (const std::string& text : asked)
            if (lstrcmpiA(text.c_str(), path.c_str()) == 0) return true;
        return false;
    };
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(was_asked(system_file_));
    EXPECT_TRUE(was_asked(shared_short_)) << "the value names the long path";
    EXPECT_TRUE(e2e::FileExists(system_file_));
    EXPECT_TRUE(e2e::FileExists(shared_));
    ExpectOtherProfileKeptWhole();
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "1");
}

TEST_F(OutsideRun, SilentRunKeepsAllThree) {
    process_ = e2e::Start(exe_, "/L " + log_ + " /N " + kProduct + " /R " + params_ + " /S /X");
    DWORD code = 99;
    ASSERT_TRUE(process_.Wait(30000, &code));
    EXPECT_TRUE(e2e::FileExists(system_file_));
    EXPECT_TRUE(e2e::FileExists(shared_));
    ExpectOtherProfileKeptWhole();
    EXPECT_FALSE(e2e::FileExists(log_));
}

// A log path the system would resolve against the current folder is no log:
// neither read nor deleted, nor a folder walked from it.
TEST_F(RemovalRun, RelativeLogPathIsARunWithoutALog) {
    ASSERT_NO_FATAL_FAILURE(
        PassWelcomeToTheError(std::string("/L install.log /N ") + kProduct + " /R " + params_ + " /X", folder_));
    ASSERT_TRUE(process_.Wait(15000));
    EXPECT_EQ(e2e::ReadIni(params_, "TVRTP", "ExitCode"), "2");
    EXPECT_TRUE(e2e::FileExists(log_));
    EXPECT_TRUE(e2e::FileExists(app_ + "\\a.txt"));
}

// Enter (or a click) reaches the removal dialog's hidden default button; then
// the thread is told to quit, as when the main window ends. However far the removal got, the result says "done" only
// when every listed file is gone.
TEST_F(RemovalRun, EnterThenQuitDuringTheRemovalNeverReportAnEarlyEndAsDone) {
    std::string log = "Installing\r\n";
    std::vector<std::string> files;
    for (int i = 0; i < 3000; ++i) {
        files.push_back(app_ + "\\many\\f" + std::to_string(i) + ".dat");
        log += files.back() + " (Extracted)\r\n";
    }
    CreateDirectoryA((app_ + "\\many").c_str(), nullptr);
    for (const std::string& file : files) ASSERT_TRUE(e2e::WriteFile(file, "x"));
    ASSERT_TRUE(e2e::WriteFile(log_, log));
    HWND review = ContinueToReview();
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(e2e::ClickButton(review, 1));
    HWND removal = WaitForDialog(process_.pid(), "Varnex-AX Uninstaller - Removal In Process", 20000);
    ASSERT_NE(removal, nullptr);
    // What Enter does when the focus is off the Cancel button: the hidden
    // default button is clicked.
    PostMessageA(removal, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(removal, IDOK)));
    // What the main window's end posts (a session end or a closed window).
    PostThreadMessageA(GetWindowThreadProcessId(removal, nullptr), WM_QUIT, 0, 0);
    e2e::WaitUntil([&] {
        for (const char* title : {"Varnex-AX Uninstaller - Restart", "Varnex-AX Uninstaller - Cancelled"})
            if (HWND last = WaitForDialog(process_.pid(), title, 200)) {
                e2e::SetChecked(last, 1007, false);  // never restart the test machine
                e2e::SetChecked(last, 1008, true);
                e2e::ClickButton(last, 1);
            }
        return process_.Wait(100);
    }, 30000);
    DWORD code = 99;
    ASSERT_TRUE(process_.Wait(5000, &code));
    std::size_t left = 0;
    for (const std::string& file : files) left += e2e::FileExists(file) ? 1 : 0;
    const std::string result = e2e::ReadIni(params_, "TVRTP", "ExitCode");
    if (result == "1") EXPECT_EQ(left, 0u) << "done reported with files left";
    else EXPECT_EQ(result, "2");
    std::printf("result %s, %zu of %zu files left\n", result.c_str(), left, files.size());
}

}  // namespace
