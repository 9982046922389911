// Seeded adversarial property test of the whole removal (log reader, removal
// lists, engine with the machine's own protected folders and shared files).
// Each seed builds files inside and outside an installation (other profiles,
// the system folders, Program Files, through a link, on a subst drive) and a
// log whose lines name random targets in spellings from a small grammar.
// The oracle knows what each spelling names and which folders the machine
// keeps from its own reading of the prefix, never from the engine, and
// checks both ways against a content snapshot:
//   - every file a plain spelling names is gone unless shared (asked about
//     once, kept on Skip) or held open; nothing else changed;
//   - every folder the run emptied is gone unless protected or reached
//     through a link; no other folder went, nothing appeared.
// REMOVAL_PROPERTY_SEEDS sets the number of seeds (default 1000),
// REMOVAL_PROPERTY_FIRST_SEED the first one (to replay a failure). The links
// and the subst drive S: come from property_links.sh.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "skerrit/removal/install_log_win.h"
#include "skerrit/removal/removal_engine_win.h"
#include "tests/skerrit/removal/removal_fixture_win.h"

namespace {

using namespace removal_test;

const char kSharedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char kProfileList[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const char kBase[] = "C:\\rmprop\\base";      // S:\ is this folder
const char kLinked[] = "C:\\rmprop\\linked";  // reached only as kBase\link

std::string Folded(std::string text) {
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool IsBelow(const std::string& path, const std::string& folder) {  // both folded
    return path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '\\';
}

std::string RegistryText(HKEY root, const std::string& subkey, const char* value) {
    char text[MAX_PATH] = "";
    DWORD size = sizeof text;
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    const bool ok = RegQueryValueExA(key, value, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) ==
                    ERROR_SUCCESS;
    RegCloseKey(key);
    if (!ok) return "";
    char expanded[MAX_PATH];
    ExpandEnvironmentStringsA(text, expanded, MAX_PATH);
    return expanded;
}

void SetRegistryText(const std::string& subkey, const char* value, const std::string& text, DWORD type) {
    HKEY key;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, value, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

void SetShared(const std::string& path, bool shared) {
    HKEY key;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    const DWORD count = 1;
    if (shared)
        RegSetValueExA(key, path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
    else
        RegDeleteValueA(key, path.c_str());
    RegCloseKey(key);
}

std::string SystemFolder(UINT (WINAPI* get)(LPSTR, UINT)) {
    char path[MAX_PATH];
    get(path, MAX_PATH);
    return path;
}

// Two profiles of other users, made once: one listed with a whole path, one
// the XP way (All Users as a name inside the profiles folder).
struct OtherProfiles {
    std::string listed, all_users;
    OtherProfiles() {
        const std::string profiles = RegistryText(HKEY_LOCAL_MACHINE, kProfileList, "ProfilesDirectory");
        listed = profiles + "\\rmprop other";
        all_users = profiles + "\\rmprop allusers";
        SetRegistryText(std::string(kProfileList) + "\\S-1-5-21-7-7-7-1077", "ProfileImagePath",
                        "%SystemDrive%\\" + listed.substr(3), REG_EXPAND_SZ);
        SetRegistryText(kProfileList, "AllUsersProfile", "rmprop allusers", REG_SZ);
        for (const std::string& root : {listed, all_users})
            for (const char* sub : {"Desktop", "Start Menu\\Programs", "AppData\\Roaming"})
                WriteFileAt(root + "\\" + sub + "\\keep.ini", "");  // makes the folders
        for (const std::string& root : {listed, all_users})
            for (const char* sub : {"Desktop", "Start Menu\\Programs", "AppData\\Roaming"})
                DeleteFileA((root + "\\" + sub + "\\keep.ini").c_str());
    }
    ~OtherProfiles() {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kProfileList) + "\\S-1-5-21-7-7-7-1077").c_str());
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "AllUsersProfile");
            RegCloseKey(key);
        }
        DeleteTree(listed);
        DeleteTree(all_users);
    }
};

// The oracle's own list of folders a removal must keep, read from the prefix.
std::set<std::string> KeptFolders() {
    std::set<std::string> kept;
    auto add = [&](const std::string& folder) {
        if (!folder.empty()) kept.insert(Folded(folder));
    };
    const std::string profiles = RegistryText(HKEY_LOCAL_MACHINE, kProfileList, "ProfilesDirectory");
    std::vector<std::string> roots = {profiles, RegistryText(HKEY_LOCAL_MACHINE, kProfileList, "Public"),
                                      profiles + "\\" + RegistryText(HKEY_LOCAL_MACHINE, kProfileList, "AllUsersProfile")};
    HKEY list;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_READ, &list);
    char name[256];
    DWORD size = sizeof name;
    for (DWORD i = 0; RegEnumKeyExA(list, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, size = sizeof name)
        roots.push_back(RegistryText(HKEY_LOCAL_MACHINE, std::string(kProfileList) + "\\" + name, "ProfileImagePath"));
    RegCloseKey(list);
    for (const std::string& root : roots) {
        add(root);
        for (const char* sub : {"Desktop", "Start Menu", "Start Menu\\Programs", "AppData", "AppData\\Roaming"})
            add(root + "\\" + sub);
    }
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_PROGRAMS, CSIDL_STARTMENU, CSIDL_PROFILE, CSIDL_PROGRAM_FILES,
                      CSIDL_PROGRAM_FILES_COMMON})
        add(ShellFolder(csidl));
    add(SystemFolder(GetWindowsDirectoryA));
    add(SystemFolder(GetSystemDirectoryA));
    add(SystemFolder(GetWindowsDirectoryA) + "\\Temp");
    return kept;
}

struct Entry {
    bool folder = false;
    std::string content;
};
using Snapshot = std::map<std::string, Entry>;  // folded path

// Everything below `folder`; links are entries, never walked into. With a
// tag, only the names that start with it (the machine's own folders).
void Take(const std::string& folder, Snapshot& snapshot, const std::string& tag = "") {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\" + tag + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        Entry entry;
        entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!entry.folder) entry.content = ReadFileAt(path);
        snapshot[Folded(path)] = entry;
        if (entry.folder && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) Take(path, snapshot);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

// How a line spells a target: plain forms name it; the others are forms the
// system would rewrite or resolve elsewhere, which a removal never acts on.
enum class Spelling { Long, Short, Case, Subst, Unc, Doubled, TrailingSlash, TrailingDot, TrailingBlank,
                      Device, Forward, Relative, DriveRelative, kCount };
bool NamesTarget(Spelling s) {
    // Wine serves no administrative shares: the UNC form names nothing there.
    return s == Spelling::Long || s == Spelling::Short || s == Spelling::Case || s == Spelling::Subst;
}

struct Target {
    std::string path;   // where it lies
    std::string named;  // how lines name it (through the link for linked files)
    bool shared = false;
    bool answer = false;  // OK in the shared-file question
    bool held = false;
    bool aimed = false;   // a plain spelling names it
};

class Trial {
public:
    Trial(unsigned seed, const OtherProfiles& profiles, const std::set<std::string>& kept,
          const ProtectedFolders& machine)
        : random_(seed), tag_("rmp" + std::to_string(seed)), profiles_(profiles), kept_(kept), machine_(machine) {
        base_ = std::string(kBase) + "\\s" + std::to_string(seed);
        linked_ = std::string(kLinked) + "\\s" + std::to_string(seed);
        through_link_ = std::string(kBase) + "\\link\\s" + std::to_string(seed);
    }
    void Build();
    void Run();
    void Check();
    void CleanUp();
    void PrintLog() const;

private:
    bool Chance(int percent) { return Pick(100) < percent; }
    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    std::string Name() {
        static const char* const kNames[] = {"app", "Bin", "data", "My Files", "x", "Long Name With Spaces", "lib-2.0"};
        return kNames[Pick(7)] + std::to_string(Pick(20));
    }
    void AddFile(const std::string& path, const std::string& named);
    void Installation(const std::string& root, const std::string& named_root);
    std::string Spell(const Target& target, Spelling spelling);
    void Lines();
    void Snapshot(::Snapshot& snapshot) const;

    std::mt19937 random_;
    std::string tag_, base_, linked_, through_link_, log_;
    const OtherProfiles& profiles_;
    const std::set<std::string>& kept_;
    const ProtectedFolders& machine_;
    std::vector<Target> targets_;
    std::map<std::string, std::size_t> by_spelling_;  // folded spelling -> target
    std::vector<std::string> lines_;
    std::set<std::size_t> asked_;
    std::vector<HANDLE> held_;
    ::Snapshot before_, after_;
};

void Trial::AddFile(const std::string& path, const std::string& named) {
    if (path.size() > 200 || Exists(path)) return;  // random names may repeat a path
    WriteFileAt(path, path);
    Target target;
    target.path = path;
    target.named = named;
    if (Chance(10)) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    targets_.push_back(target);
}

void Trial::Installation(const std::string& root, const std::string& named_root) {
    std::vector<std::string> folders = {""};
    for (int i = Pick(4); i >= 0; --i) folders.push_back(folders[Pick(static_cast<int>(folders.size()))] + "\\" + Name());
    for (const std::string& folder : folders)
        for (int i = Pick(4); i > 0; --i) {
            const std::string rest = folder + "\\" + Name() + ".dat";
            AddFile(root + rest, named_root + rest);
        }
}

void Trial::Build() {
    // Installations where products go, and where they should not.
    Installation(base_ + "\\inst", base_ + "\\inst");
    const std::string program_files = ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + tag_ + " app";
    if (Chance(50)) Installation(program_files, program_files);
    const std::string& other = Chance(50) ? profiles_.listed : profiles_.all_users;
    if (Chance(50)) Installation(other + "\\AppData\\Roaming\\" + tag_, other + "\\AppData\\Roaming\\" + tag_);
    if (Chance(50)) Installation(linked_, through_link_);
    // Files an attack aims at: outside, other profiles' shell folders, the system.
    for (int i = 0; i < 3; ++i) AddFile(base_ + "\\outside\\v" + std::to_string(i) + ".txt", base_ + "\\outside\\v" + std::to_string(i) + ".txt");
    const std::string windows = SystemFolder(GetWindowsDirectoryA);
    const std::vector<std::string> elsewhere = {
        other + "\\Desktop\\" + tag_ + ".lnk",
        other + "\\Start Menu\\Programs\\" + tag_ + " group\\App.lnk",
        ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + tag_ + ".txt",
        windows + "\\" + tag_ + ".dll",
        windows + "\\" + tag_ + " dir\\x.dll",
        SystemFolder(GetSystemDirectoryA) + "\\" + tag_ + ".dll",
        ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\" + tag_ + "\\x.dll",
        windows + "\\Temp\\" + tag_ + ".tmp",
    };
    for (const std::string& path : elsewhere)
        if (Chance(50)) AddFile(path, path);

    const std::string windows_folded = Folded(windows);
    for (Target& target : targets_) {
        const std::string path = Folded(target.path);
        target.shared = (IsBelow(path, windows_folded) && !IsBelow(path, windows_folded + "\\temp")) ||
                        IsBelow(path, Folded(ShellFolder(CSIDL_PROGRAM_FILES_COMMON)));
        if (!target.shared && Chance(10)) {  // registered by its long path
            SetShared(target.path, true);
            target.shared = true;
        }
        target.answer = Chance(50);
        if (Chance(5)) {
            held_.push_back(CreateFileA(target.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                        nullptr));
            target.held = true;
        }
    }
    Lines();
    log_ = base_ + "\\logs\\install.log";
    std::string text;
    for (const std::string& line : lines_) text += line + (Chance(50) ? "\r\n" : "\n");
    WriteFileAt(log_, text);
    Snapshot(before_);
}

std::string Trial::Spell(const Target& target, Spelling spelling) {
    const std::string& path = target.named;
    switch (spelling) {
        case Spelling::Long: return path;
        case Spelling::Short: {
            char short_path[MAX_PATH];
            const DWORD length = GetShortPathNameA(path.c_str(), short_path, MAX_PATH);
            return length > 0 && length < MAX_PATH ? std::string(short_path) : path;
        }
        case Spelling::Case: {
            std::string variant = path;
            for (char& c : variant)
                if (((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && Chance(40)) c = static_cast<char>(c ^ 0x20);
            return variant;
        }
        case Spelling::Subst:
            return Folded(path).compare(0, sizeof kBase - 1, Folded(kBase)) == 0 ? "S:" + path.substr(sizeof kBase - 1) : path;
        case Spelling::Unc: return "\\\\localhost\\" + path.substr(0, 1) + "$" + path.substr(2);
        case Spelling::Doubled: return path.substr(0, path.rfind('\\')) + "\\\\" + path.substr(path.rfind('\\') + 1);
        case Spelling::TrailingSlash: return path + "\\";
        case Spelling::TrailingDot: return path + ".";
        case Spelling::TrailingBlank: return path + " ";
        case Spelling::Device: return (Chance(50) ? "\\\\?\\" : "\\\\.\\") + path;
        case Spelling::Forward: {
            std::string forward = path;
            std::replace(forward.begin(), forward.end(), '\\', '/');
            return forward;
        }
        case Spelling::Relative: return "..\\" + path.substr(path.rfind('\\') + 1);
        case Spelling::DriveRelative: return path.substr(0, 2) + path.substr(3);
        default: return path;
    }
}

void Trial::Lines() {
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        if (!Chance(60)) continue;
        for (int n = 1 + Pick(2); n > 0; --n) {
            const Spelling spelling = static_cast<Spelling>(Pick(static_cast<int>(Spelling::kCount)));
            const std::string text = Spell(targets_[i], spelling);
            if (NamesTarget(spelling)) targets_[i].aimed = true;
            by_spelling_[Folded(text)] = i;
            lines_.push_back(text + " (Extracted)" + (Chance(20) ? " trailing text" : ""));
        }
    }
    // A NUL cuts the path every system call sees; an over-long line is cut.
    if (!targets_.empty()) {
        const Target& victim = targets_[Pick(static_cast<int>(targets_.size()))];
        lines_.push_back(victim.named + std::string(1, '\0') + "x (Extracted)");
        lines_.push_back(std::string(kMaxLogLineLength, 'g') + victim.named + " (Extracted)");
    }
    // A shortcut group in this user's Start menu.
    const std::string group = ShellFolder(CSIDL_PROGRAMS) + "\\" + tag_ + " menu";
    WriteFileAt(group + "\\Run.lnk", "lnk");
    lines_.push_back(tag_ + " menu;C:\\App\\a.exe;;Run;; (Group Setup) (Succeeded)");
    std::shuffle(lines_.begin(), lines_.end(), random_);
}

void Trial::Snapshot(::Snapshot& snapshot) const {
    Take(base_, snapshot);
    if (Exists(base_)) snapshot[Folded(base_)] = Entry{true, ""};
    Take(kLinked, snapshot);
    Take(profiles_.listed, snapshot);
    Take(profiles_.all_users, snapshot);
    const std::string windows = SystemFolder(GetWindowsDirectoryA);
    for (const std::string& folder : {windows, SystemFolder(GetSystemDirectoryA), windows + "\\Temp",
                                      ShellFolder(CSIDL_PROGRAM_FILES), ShellFolder(CSIDL_PROGRAM_FILES_COMMON),
                                      ShellFolder(CSIDL_DESKTOPDIRECTORY), ShellFolder(CSIDL_PROGRAMS)})
        Take(folder, snapshot, Folded(tag_));
}

void Trial::Run() {
    SortedListBox list;
    MacroFolders folders;
    InstallLogContent content;
    ASSERT_TRUE(ReadInstallLog(list.get(), log_.c_str(), folders, content));
    bool cancel = false;
    RemovalJob job;
    job.files = content.lists.files;
    job.shortcuts = content.lists.shortcuts;
    job.log_path = log_;
    job.cancel = &cancel;
    job.protected_folders = &machine_;
    job.confirm_shared = [this](const char* path) {
        const auto found = by_spelling_.find(Folded(path));
        if (found == by_spelling_.end() || !targets_[found->second].shared) {
            ADD_FAILURE() << "asked about a file that is not shared: " << path;
            return false;
        }
        EXPECT_TRUE(asked_.insert(found->second).second) << "asked twice about " << targets_[found->second].path;
        return targets_[found->second].answer;
    };
    RunRemovalJob(job);
    for (HANDLE handle : held_) CloseHandle(handle);
    held_.clear();
    Snapshot(after_);
}

void Trial::Check() {
    std::set<std::string> gone_files = {Folded(log_), Folded(ShellFolder(CSIDL_PROGRAMS) + "\\" + tag_ + " menu\\run.lnk")};
    for (const Target& target : targets_) {
        if (target.aimed && target.shared && !target.held)
            EXPECT_TRUE(asked_.count(&target - &targets_[0])) << "shared file not asked about: " << target.path;
        if (target.aimed && !target.held && (!target.shared || target.answer)) gone_files.insert(Folded(target.path));
    }
    // Folders, deepest first: gone when the run emptied them and they are
    // neither kept nor reached through the link.
    std::set<std::string> gone_folders;
    for (auto it = before_.rbegin(); it != before_.rend(); ++it) {
        const std::string& folder = it->first;
        if (!it->second.folder || kept_.count(folder) || IsBelow(folder, Folded(kLinked))) continue;
        bool emptied = false, holds_more = false;
        for (const auto& [path, entry] : before_) {
            if (!IsBelow(path, folder)) continue;
            if (entry.folder ? !gone_folders.count(path) : !gone_files.count(path)) holds_more = true;
            if (!entry.folder && gone_files.count(path)) emptied = true;
        }
        if (emptied && !holds_more) gone_folders.insert(folder);
    }
    for (const auto& [path, entry] : before_) {
        const auto now = after_.find(path);
        const bool gone = entry.folder ? gone_folders.count(path) > 0 : gone_files.count(path) > 0;
        if (gone) {
            EXPECT_TRUE(now == after_.end()) << (entry.folder ? "emptied folder left: " : "listed file left: ") << path;
        } else if (now == after_.end()) {
            ADD_FAILURE() << (entry.folder ? "folder removed: " : "file deleted: ") << path;
        } else {
            EXPECT_EQ(now->second.content, entry.content) << path;
        }
    }
    for (const auto& [path, entry] : after_) EXPECT_TRUE(before_.count(path)) << "appeared: " << path;
    for (const std::string& folder : kept_) {
        if (!Exists(folder) && before_.count(folder)) ADD_FAILURE() << "kept folder gone: " << folder;
    }
}

void Trial::PrintLog() const {
    std::printf("log of the failing seed:\n");
    for (const std::string& line : lines_) {
        std::string shown;
        for (const char c : line) {
            const unsigned char u = static_cast<unsigned char>(c);
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", u);
            shown += (u >= 0x20 && u < 0x7f) ? std::string(1, c) : std::string(escaped);
        }
        std::printf("  %s\n", shown.substr(0, 300).c_str());
    }
}

void Trial::CleanUp() {
    for (HANDLE handle : held_) CloseHandle(handle);
    // Held-open files were scheduled for the next restart: this prefix never restarts.
    HKEY session;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_ALL_ACCESS,
                      &session) == ERROR_SUCCESS) {
        RegDeleteValueA(session, "PendingFileRenameOperations");
        RegCloseKey(session);
    }
    for (const Target& target : targets_) {
        SetShared(target.path, false);
        SetFileAttributesA(target.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(target.path.c_str());
    }
    DeleteTree(base_);
    DeleteTree(linked_);
    ::Snapshot left;
    Snapshot(left);
    for (auto it = left.rbegin(); it != left.rend(); ++it) {
        if (!it->second.folder) DeleteFileA(it->first.c_str());
        else if (!kept_.count(it->first)) RemoveDirectoryA(it->first.c_str());  // other profiles stay whole
    }
}

int EnvironmentNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::atoi(text) : fallback;
}

TEST(RemovalProperty, AdversarialSpellingsTouchNothingOutsideTheListedFiles) {
    ASSERT_NE(GetFileAttributesA((std::string(kBase) + "\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u)
        << "run property_links.sh on the prefix first";
    ASSERT_TRUE(Exists("S:\\keep.txt")) << "the subst drive S: is missing";
    const int seeds = EnvironmentNumber("REMOVAL_PROPERTY_SEEDS", 1000);
    const int first = EnvironmentNumber("REMOVAL_PROPERTY_FIRST_SEED", 1);
    const OtherProfiles profiles;
    const std::set<std::string> kept = KeptFolders();
    // The engine's own reading of the machine, made once for all seeds (a run makes it once).
    const ProtectedFolders machine = ProtectedFolders::OfThisMachine();
    const auto start = std::chrono::steady_clock::now();
    for (int seed = first; seed < first + seeds; ++seed) {
        Trial trial(static_cast<unsigned>(seed), profiles, kept, machine);
        trial.Build();
        trial.Run();
        trial.Check();
        if (HasFailure()) trial.PrintLog();
        trial.CleanUp();
        if (HasFailure()) {
            std::printf("failing seed: %d (REMOVAL_PROPERTY_FIRST_SEED=%d REMOVAL_PROPERTY_SEEDS=1)\n", seed, seed);
            return;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d seeds from %d hold the removal invariant (%.1f s)\n", seeds, first, seconds);
}

}  // namespace
