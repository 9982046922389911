#include "skerrit/removal/removal_engine_win.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "skerrit/removal/message_drain_win.h"
#include "skerrit/removal/reboot_delete_win.h"
#include "skerrit/removal/protected_folders_win.h"
#include "skerrit/removal/removal_folders_win.h"
#include "skerrit/removal/shared_files_win.h"
#include "tests/skerrit/removal/removal_fixture_win.h"

namespace {

using namespace removal_test;

const char kSharedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

RemovalList ListOf(const std::vector<std::string>& entries) {
    RemovalList list;
    list.present = true;
    for (const std::string& entry : entries) list.text += entry + "\r\n";
    return list;
}

void SetSharedCount(const std::string& path, DWORD count) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                   sizeof count);
    RegCloseKey(key);
}

bool SharedCount(const std::string& path, DWORD& count) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof count;
    const bool found = RegQueryValueExA(key, path.c_str(), nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(&count), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

void DeleteShared(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, path.c_str());
    RegCloseKey(key);
}

class RemovalTest : public ::testing::Test {
protected:
    ScratchFolder root{"h2rm"};
    bool cancel = true;  // the removal clears it
    int entry_removals = 0;
    std::vector<std::string> asked;

    RemovalJob Job(const RemovalList* files, const RemovalList* shortcuts) {
        RemovalJob job;
        if (files != nullptr) job.files = *files;
        if (shortcuts != nullptr) job.shortcuts = *shortcuts;
        job.log_path = root / "Logs\\install.log";
        job.cancel = &cancel;
        job.remove_uninstall_entry = [this] { ++entry_removals; };
        return job;
    }
};

TEST_F(RemovalTest, EmptiedFoldersGoUpToButNotBeyondWhatStillHoldsFiles) {
    const std::string pf = root / "Program Files";
    WriteFileAt(root / "keep.txt", "stays");
    WriteFileAt(pf + "\\Product\\Sub\\s.dll", "s");
    WriteFileAt(pf + "\\Product\\p.dll", "p");
    WriteFileAt(root / "Logs\\install.log", "log");
    const RemovalList files = ListOf({pf + "\\Product\\Sub\\s.dll", pf + "\\Product\\p.dll",
                                      pf + "\\Product\\gone.dll"});
    RunRemovalJob(Job(&files, nullptr));

    EXPECT_FALSE(cancel);
    EXPECT_FALSE(Exists(pf + "\\Product\\Sub"));
    EXPECT_FALSE(Exists(pf + "\\Product"));
    EXPECT_FALSE(Exists(pf));
    EXPECT_FALSE(Exists(root / "Logs"));  // the log and its emptied folder
    EXPECT_TRUE(Exists(root / "keep.txt"));
    EXPECT_EQ(entry_removals, 1);
}

TEST_F(RemovalTest, FolderEmptiedOnlyByALaterEntryIsStillRemoved) {
    WriteFileAt(root / "keep.txt", "stays");
    for (const char* file : {"A\\x.dll", "A\\z.dll", "B\\y.dll", "C\\locked.dll"})
        WriteFileAt(root / file, "x");
    // The file in C stays open without delete sharing, so C keeps it.
    HANDLE locked = CreateFileA((root / "C\\locked.dll").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    const RemovalList files = ListOf({root / "A\\x.dll", root / "B\\y.dll",
                                      root / "C\\locked.dll", root / "A\\z.dll"});
    RunRemovalJob(Job(&files, nullptr));
    CloseHandle(locked);
    EXPECT_FALSE(Exists(root / "A"));
    EXPECT_FALSE(Exists(root / "B"));
    EXPECT_TRUE(Exists(root / "C\\locked.dll"));
    EXPECT_TRUE(Exists(root / "keep.txt"));
}

int g_app_messages = 0;

LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP) ++g_app_messages;
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST(DrainMessages, DispatchesWaitingMessagesAndHandsBackQuit) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = CountingWindowProc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "H2DrainTest";
    RegisterClassA(&window_class);
    HWND window = CreateWindowA("H2DrainTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    bool cancel = false;
    PostMessageA(window, WM_APP, 0, 0);
    PostMessageA(window, WM_APP, 0, 0);
    DrainMessages(nullptr, &cancel);
    EXPECT_EQ(g_app_messages, 2);
    EXPECT_FALSE(cancel);
    PostQuitMessage(3);
    DrainMessages(nullptr, &cancel);
    EXPECT_TRUE(cancel);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    DestroyWindow(window);
}

TEST_F(RemovalTest, FolderWalkStopsAtAFolderThatCannotBeListedOrIsNotEmpty) {
    WriteFileAt(root / "A\\B\\x.txt", "x");
    const ProtectedFolders none;
    EXPECT_FALSE(RemoveEmptyFolders((root / "A\\B\\").c_str(), none));
    EXPECT_TRUE(Exists(root / "A\\B\\x.txt"));
    EXPECT_FALSE(RemoveEmptyFolders((root / "A\\Missing\\").c_str(), none));
    EXPECT_TRUE(Exists(root / "A"));
    // A boundary keeps itself and what lies above it.
    CreateDirectoryA((root / "A\\C").c_str(), nullptr);
    DeleteFileA((root / "A\\B\\x.txt").c_str());
    RemoveDirectoryA((root / "A\\B").c_str());
    EXPECT_TRUE(RemoveEmptyFolders((root / "A\\C\\").c_str(), none, (root / "A").c_str()));
    EXPECT_FALSE(Exists(root / "A\\C"));
    EXPECT_TRUE(Exists(root / "A"));
}

TEST_F(RemovalTest, SharedFileIsAskedAboutSkipKeepsOkRemoves) {
    const std::string kept = root / "Shared\\kept.dll";
    const std::string removed = root / "Shared\\removed.dll";
    const std::string plain = root / "Shared\\plain.dll";
    for (const std::string& path : {kept, removed, plain}) WriteFileAt(path, "x");
    SetSharedCount(kept, 1);
    SetSharedCount(removed, 3);
    const RemovalList files = ListOf({removed, plain, kept});
    RemovalJob job = Job(&files, nullptr);
    job.confirm_shared = [&](const char* path) {
        asked.push_back(path);
        return lstrcmpiA(path, removed.c_str()) == 0;
    };
    RunRemovalJob(job);

    EXPECT_EQ(asked, (std::vector<std::string>{removed, kept}));
    EXPECT_TRUE(Exists(kept));
    EXPECT_FALSE(Exists(removed));
    EXPECT_FALSE(Exists(plain));
    DWORD count = 0;
    ASSERT_TRUE(SharedCount(kept, count));
    EXPECT_EQ(count, 1u);  // never changed
    EXPECT_TRUE(IsSharedFile(kept.c_str()));
    std::string upper = kept;
    CharUpperA(&upper[0]);
    EXPECT_TRUE(IsSharedFile(upper.c_str()));
    EXPECT_FALSE(IsSharedFile(plain.c_str()));
    DeleteShared(kept);
    DeleteShared(removed);
}

TEST_F(RemovalTest, LongValueNamesDoNotHideLaterSharedFiles) {
    const std::string file = root / "late.dll";
    const std::string long_name(900, 'q');
    SetSharedCount(long_name, 1);
    SetSharedCount(file, 1);
    EXPECT_TRUE(IsSharedFile(file.c_str()));
    PathNames names;
    EXPECT_TRUE(SharedFiles::Load(names).Contains(file, names));
    DeleteShared(long_name);
    DeleteShared(file);
}

TEST_F(RemovalTest, QuitMessageCancelsButFinishStepsStillRun) {
    WriteFileAt(root / "P\\1.dll", "1");
    WriteFileAt(root / "P\\2.dll", "2");
    WriteFileAt(root / "Logs\\install.log", "log");
    const std::string group = ShellFolder(CSIDL_PROGRAMS) + "\\H2 Cancel Group";
    WriteFileAt(group + "\\App.lnk", "lnk");
    const RemovalList files = ListOf({root / "P\\1.dll", root / "P\\2.dll"});
    const RemovalList shortcuts = ListOf({"H2 Cancel Group\\App.lnk"});
    PostQuitMessage(7);
    RunRemovalJob(Job(&files, &shortcuts));

    EXPECT_TRUE(cancel);
    EXPECT_FALSE(Exists(root / "P\\1.dll"));
    EXPECT_TRUE(Exists(root / "P\\2.dll"));
    EXPECT_TRUE(Exists(group + "\\App.lnk"));
    EXPECT_FALSE(Exists(root / "Logs\\install.log"));
    EXPECT_EQ(entry_removals, 1);
    // The quit is handed back to the thread's own loop.
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
    DeleteTree(group);
}

TEST_F(RemovalTest, ShortcutsInEveryShellFolderAndTheEmptiedGroupGo) {
    const std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    const std::string send_to = ShellFolder(CSIDL_SENDTO);
    const std::string start = ShellFolder(CSIDL_STARTMENU);
    const std::string programs = ShellFolder(CSIDL_PROGRAMS);
    ASSERT_FALSE(desktop.empty());
    ASSERT_FALSE(programs.empty());
    const std::string group = programs + "\\H2 Test Group";
    const std::vector<std::string> links = {desktop + "\\H2 App.lnk", send_to + "\\H2 App.lnk",
                                            start + "\\H2 App.lnk", group + "\\H2 App.lnk",
                                            group + "\\Sub\\H2 Tool.lnk"};
    for (const std::string& link : links) WriteFileAt(link, "lnk");
    const RemovalList shortcuts =
        ListOf({"H2 Test Group\\Sub\\H2 Tool.lnk", "H2 Test Group\\H2 App.lnk",
                "<StartUp>\\H2 Missing.lnk", "<Start>\\H2 App.lnk", "<SendTo>\\H2 App.lnk",
                "<Desktop>\\H2 App.lnk"});
    RunRemovalJob(Job(nullptr, &shortcuts));

    for (const std::string& link : links) EXPECT_FALSE(Exists(link)) << link;
    EXPECT_FALSE(Exists(group));
    // The shell folders themselves stay even when our shortcut emptied them.
    EXPECT_TRUE(Exists(desktop));
    EXPECT_TRUE(Exists(send_to));
    EXPECT_TRUE(Exists(programs));
}

// The walk after a deleted file and the walk from the log's folder stop
// below a protected folder even when this run emptied it.
TEST_F(RemovalTest, WalksNeverRemoveAProtectedFolder) {
    const std::string desktop = root / "Desktop";
    WriteFileAt(desktop + "\\app.txt", "last thing on the desktop");
    WriteFileAt(root / "Logs\\install.log", "log");
    ProtectedFolders protected_folders;
    protected_folders.Add(desktop + "\\");
    protected_folders.Add(root / "Logs");
    const RemovalList files = ListOf({desktop + "\\app.txt"});
    RemovalJob job = Job(&files, nullptr);
    job.protected_folders = &protected_folders;
    RunRemovalJob(job);
    EXPECT_FALSE(Exists(desktop + "\\app.txt"));
    EXPECT_FALSE(Exists(root / "Logs\\install.log"));
    EXPECT_TRUE(Exists(desktop));
    EXPECT_TRUE(Exists(root / "Logs"));
}

TEST(ProtectedFolders, TheMachinesSystemProfileAndShellFoldersAreIn) {
    const ProtectedFolders machine = ProtectedFolders::OfThisMachine();
    char buffer[MAX_PATH];
    GetWindowsDirectoryA(buffer, MAX_PATH);
    EXPECT_TRUE(machine.Contains(buffer)) << buffer;
    GetSystemDirectoryA(buffer, MAX_PATH);
    EXPECT_TRUE(machine.Contains(std::string(buffer) + "\\")) << buffer;
    for (int csidl : {CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU, CSIDL_PROGRAMS,
                      CSIDL_STARTUP, CSIDL_SENDTO, CSIDL_COMMON_DESKTOPDIRECTORY,
                      CSIDL_COMMON_STARTMENU, CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTUP}) {
        const std::string folder = ShellFolder(csidl);
        ASSERT_FALSE(folder.empty()) << csidl;
        EXPECT_TRUE(machine.Contains(folder)) << folder;
        // Any case, and short names, name the same folder.
        EXPECT_TRUE(machine.Contains(AsciiUpper(folder))) << folder;
        const DWORD length = GetShortPathNameA(folder.c_str(), buffer, MAX_PATH);
        if (length > 0 && length < MAX_PATH) EXPECT_TRUE(machine.Contains(buffer)) << buffer;
    }
    // The machine's folders: an emptied Program Files folder stays too.
    EXPECT_TRUE(machine.Contains(ShellFolder(CSIDL_PROGRAM_FILES)));
    EXPECT_TRUE(machine.Contains(ShellFolder(CSIDL_PROGRAM_FILES_COMMON)));
}

// A drive's serial is asked once and then only each folder's index: every
// identity must still be the one the system reports for that folder.
TEST_F(RemovalTest, FolderIdentitiesAreTheSystemsOwn) {
    PathNames names;
    for (const char* name : {"Id one", "Id two", "Id one\\deeper", "ID TWO\\Deeper Still"}) {
        const std::string folder = root / name;
        WriteFileAt(folder + "\\f.txt", "x");
        HANDLE handle = CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE) << folder;
        BY_HANDLE_FILE_INFORMATION info;
        ASSERT_TRUE(GetFileInformationByHandle(handle, &info));
        CloseHandle(handle);
        const FileIdentity identity = names.Folder(folder).identity;
        ASSERT_TRUE(identity.known) << folder;
        EXPECT_EQ(identity.volume, info.dwVolumeSerialNumber) << folder;
        EXPECT_EQ(identity.index_high, info.nFileIndexHigh) << folder;
        EXPECT_EQ(identity.index_low, info.nFileIndexLow) << folder;
    }
}

TEST_F(RemovalTest, CutEntriesAreNeverActedOn) {
    // A 259-character prefix of a longer entry names an existing file.
    std::string folder = root.path();
    while (folder.size() < 200) folder += "deep\\";
    const std::string victim = folder + std::string(259 - folder.size(), 'v');
    WriteFileAt(victim, "must stay");
    ASSERT_TRUE(Exists(victim));
    const RemovalList files = ListOf({victim + "tail.dll"});
    RunRemovalJob(Job(&files, nullptr));
    EXPECT_TRUE(Exists(victim));
}

TEST(RebootDelete, NtRecordsTheFileWithNoTarget) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    ASSERT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    ScratchFolder dir("h2nt");
    const std::string file = dir / "sker1a85.exe";
    WriteFileAt(file, "exe");
    ASSERT_TRUE(ScheduleDeleteAtRestart(file.c_str(), ""));

    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                            "System\\CurrentControlSet\\Control\\Session Manager", 0,
                            KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr,
                               &size),
              ERROR_SUCCESS);
    std::wstring value(size / sizeof(wchar_t), L'\0');
    RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                     reinterpret_cast<BYTE*>(&value[0]), &size);
    std::wstring wide_file(file.begin(), file.end());
    const std::wstring pair = L"\\??\\" + wide_file + std::wstring(1, L'\0') + std::wstring(1, L'\0');
    const std::size_t at = value.find(pair);
    EXPECT_NE(at, std::wstring::npos);
    if (at != std::wstring::npos) {
        // Take our pair out again so no later start of the prefix acts on it.
        value.erase(at, pair.size());
        RegSetValueExW(key, L"PendingFileRenameOperations", 0, REG_MULTI_SZ,
                       reinterpret_cast<const BYTE*>(value.data()),
                       static_cast<DWORD>(value.size() * sizeof(wchar_t)));
    }
    RegCloseKey(key);
}

}  // namespace

namespace {

// What the silent run's exit status is made of: a file open elsewhere goes at
// the next restart (3010), one that cannot go at all stays and the removal
// failed (1603). A read-only file is removed like any other.
TEST_F(RemovalTest, OutcomeTellsARestartFromAFileLeftBehind) {
    const std::string held = root / "App\\held.dll";
    const std::string read_only = root / "App\\read_only.dll";
    const std::string plain = root / "App\\plain.dll";
    const std::string not_a_file = root / "App\\folder.dll";
    for (const std::string& path : {held, read_only, plain}) WriteFileAt(path, "x");
    CreateDirectoryA(not_a_file.c_str(), nullptr);
    HANDLE open = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);

    const RemovalList only_held = ListOf({held, plain});
    const RemovalOutcome restart = RunRemovalJob(Job(&only_held, nullptr));
    CloseHandle(open);
    EXPECT_TRUE(restart.restart_needed);
    EXPECT_FALSE(restart.files_left);
    EXPECT_FALSE(Exists(plain));

    ASSERT_TRUE(SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_READONLY));
    const RemovalList with_read_only = ListOf({read_only});
    const RemovalOutcome gone = RunRemovalJob(Job(&with_read_only, nullptr));
    EXPECT_FALSE(gone.files_left);
    EXPECT_FALSE(Exists(read_only));

    const RemovalList with_folder = ListOf({not_a_file});
    const RemovalOutcome left = RunRemovalJob(Job(&with_folder, nullptr));
    EXPECT_FALSE(left.restart_needed) << "a folder is no file in use";
    EXPECT_TRUE(left.files_left);
    EXPECT_TRUE(Exists(not_a_file));
}

}  // namespace
