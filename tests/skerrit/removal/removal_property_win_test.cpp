// Seeded property test of the whole removal (log reader, removal lists,
// engine, folder walks, shortcuts, shared files) on random installations and
// hostile logs. For every seed it checks the removal invariant:
//   - every file deleted was listed by a well-formed line and existed (a help
//     index beside a listed help file, the log and shortcut files count as
//     listed), and a shared one only when the answer was OK;
//   - every such file not kept by an answer is gone;
//   - every folder removed was emptied by this run, lies above a deleted file
//     and is not protected;
//   - nothing outside the installation's root changed, and no file that
//     stayed changed its content.
// REMOVAL_PROPERTY_SEEDS sets the number of seeds (default 1000),
// REMOVAL_PROPERTY_FIRST_SEED the first one (to replay a failure).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/path_macros.h"
#include "common/special_folder.h"
#include "skerrit/removal/install_log_win.h"
#include "skerrit/removal/protected_folders_win.h"
#include "skerrit/removal/removal_engine_win.h"
#include "skerrit/removal/removal_paths.h"
#include "tests/skerrit/removal/removal_fixture_win.h"

namespace {

using namespace removal_test;

const char kSharedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::string Folded(std::string text) {
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// Case-insensitive path sets, as the file system compares names.
using PathSet = std::set<std::string>;  // folded paths

struct Entry {
    bool folder = false;
    std::string content;
};
using Snapshot = std::map<std::string, Entry>;  // folded path -> entry; original case in names_

void Take(const std::string& folder, Snapshot& snapshot, std::map<std::string, std::string>& names) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        Entry entry;
        entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!entry.folder) entry.content = ReadFileAt(path);
        snapshot[Folded(path)] = entry;
        names[Folded(path)] = path;
        if (entry.folder) Take(path, snapshot, names);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

bool IsBelow(const std::string& path, const std::string& folder) {  // both folded
    return path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '\\';
}

void SetShared(const std::string& path, bool shared) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    if (shared) {
        const DWORD count = 1;
        RegSetValueExA(key, path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                       sizeof count);
    } else {
        RegDeleteValueA(key, path.c_str());
    }
    RegCloseKey(key);
}

// One random installation, its log and what the removal may and must do.
class Trial {
public:
    Trial(unsigned seed, const std::string& base, bool ansi_1252)
        : random_(seed), base_(base), ansi_1252_(ansi_1252) {
        root_ = base_ + "\\root";
        outside_ = base_ + "\\outside";
        shell_ = root_ + "\\Shell";
        desktop_ = shell_ + "\\Desktop";
        start_ = shell_ + "\\Start Menu";
        programs_ = start_ + "\\Programs";
        startup_ = programs_ + "\\Startup";
        send_to_ = shell_ + "\\SendTo";
    }

    void Build();
    void Run(const ProtectedFolders& machine);
    void Check();
    void CleanUp();
    void PrintLog() const;

private:
    bool Chance(int percent) { return Pick(100) < percent; }
    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    std::string Name();
    std::string RandomFolder();
    std::string CaseVariant(const std::string& path);
    bool File(const std::string& path, bool listed);
    void MakeFolders(const std::string& folder);
    void Decoy(const std::string& path);
    void Line(const std::string& line) { lines_.push_back(line); }
    // A line naming a plain full path that may turn out to be a file or not.
    void WellFormedLine(const std::string& path) {
        Line(path + " (Extracted)");
        well_formed_.push_back(path);
    }
    void ListFile(const std::string& path);
    void HostileLines();
    void Shortcuts();
    void Garbage();

    std::mt19937 random_;
    std::string base_, root_, outside_, shell_, desktop_, start_, programs_, startup_, send_to_;
    bool ansi_1252_;
    std::vector<std::string> folders_;     // installation folders (original case)
    std::vector<std::string> decoys_;      // must stay unless also listed
    std::vector<std::string> lines_;
    std::vector<std::string> well_formed_;  // paths of well-formed lines
    PathSet deletable_;                    // files a removal may delete
    PathSet shared_;                       // listed files registered as shared
    std::map<std::string, bool> answers_;  // folded path -> OK
    PathSet protected_;                    // folded
    PathSet made_folders_;                 // folded
    std::string log_;
    Snapshot before_, after_;
    std::map<std::string, std::string> names_;
    int entry_removals_ = 0;
};

std::string Trial::Name() {
    static const char* const kPlain[] = {"app", "Bin", "data", "My Files", "x", "Sub", "readme.txt",
                                         "a.dll", "B.DLL", "lib-2.0", "~tmp", "Long Name With Spaces"};
    static const char* const kCp1252[] = {"caf\xe9", "Stra\xdf" "e", "\xe6sir", "na\xefve", "\xc5ngstr\xf6m"};
    std::string name = kPlain[Pick(12)];
    if (ansi_1252_ && Chance(25)) name = kCp1252[Pick(5)];
    return name + std::to_string(Pick(40));
}

std::string Trial::RandomFolder() { return folders_[static_cast<std::size_t>(Pick(static_cast<int>(folders_.size())))]; }

std::string Trial::CaseVariant(const std::string& path) {
    std::string variant = path;
    for (std::size_t i = root_.size(); i < variant.size(); ++i) {
        char& c = variant[i];
        if (c >= 'a' && c <= 'z' && Chance(30)) c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z' && Chance(30)) c = static_cast<char>(c - 'A' + 'a');
    }
    return variant;
}

// A new file holding its own path; false when the path is taken or cannot
// be made.
bool Trial::File(const std::string& path, bool listed) {
    MakeFolders(path.substr(0, path.rfind('\\')));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, path.data(), static_cast<DWORD>(path.size()), &written, nullptr);
    CloseHandle(file);
    if (!listed) decoys_.push_back(path);
    return true;
}

void Trial::MakeFolders(const std::string& folder) {
    if (folder.size() <= base_.size() || made_folders_.count(Folded(folder))) return;
    MakeFolders(folder.substr(0, folder.rfind('\\')));
    CreateDirectoryA(folder.c_str(), nullptr);
    made_folders_.insert(Folded(folder));
}

void Trial::Decoy(const std::string& path) { File(path, false); }

// A listed, existing file: well-formed lines name it, sometimes twice or in
// another case; some are shared files with a random answer.
void Trial::ListFile(const std::string& path) {
    if (path.size() > kMaxRemovalPathLength || !File(path, true)) return;
    deletable_.insert(Folded(path));
    Line(path + " (Extracted)");
    if (Chance(15)) Line(CaseVariant(path) + " (Extracted)" + (Chance(50) ? " trailing text" : ""));
    if (Chance(10)) {
        SetShared(path, true);
        shared_.insert(Folded(path));
        answers_[Folded(path)] = Chance(50);
    }
}

void Trial::Build() {
    CreateDirectoryA(base_.c_str(), nullptr);
    for (const std::string& folder : {outside_ + "\\cwd", desktop_, startup_, send_to_}) MakeFolders(folder);
    for (const std::string& folder : {root_, desktop_, start_, programs_, startup_, send_to_})
        protected_.insert(Folded(folder));

    // Nested installation folders, some beside each other.
    folders_.push_back(root_ + "\\" + Name());
    const int count = 1 + Pick(5);
    for (int i = 0; i < count; ++i) {
        const std::string parent = Chance(70) ? RandomFolder() : root_;
        folders_.push_back(parent + "\\" + Name());
    }
    if (Chance(30)) folders_.push_back(desktop_);  // files extracted onto the desktop
    for (const std::string& folder : folders_) {
        const int files = Pick(4);
        for (int i = 0; i < files; ++i) {
            const std::string path = folder + "\\" + Name();
            if (Chance(75)) ListFile(path); else Decoy(path);
        }
        if (Chance(20)) {  // a help file and its index
            const std::string help = folder + "\\" + Name() + (Chance(50) ? ".hlp" : ".HLP");
            ListFile(help);
            if (Chance(70) && deletable_.count(Folded(help))) {
                const std::string index = help.substr(0, help.size() - 3) + "gid";
                if (File(index, true)) deletable_.insert(Folded(index));
            }
        }
        if (Chance(20)) WellFormedLine(folder + "\\" + Name() + "missing");
        if (Chance(15)) WellFormedLine(folder);  // a folder is no file
    }
    // A file whose path is exactly as long as the removal takes.
    if (Chance(30)) {
        std::string folder = RandomFolder();
        if (folder.size() < 200) folder += "\\" + std::string(200 - folder.size(), 'd');
        const std::string path = folder + "\\" + std::string(kMaxRemovalPathLength - folder.size() - 1, 'L');
        ListFile(path);
    }
    // Names drawn at random may have made a file where a line expected a
    // folder or nothing: a well-formed line naming a file lists it.
    for (const std::string& path : well_formed_) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            deletable_.insert(Folded(path));
    }
    Decoy(outside_ + "\\victim.txt");
    Decoy(outside_ + "\\cwd\\victim.txt");
    Decoy(outside_ + "\\x.lnk");
    Decoy(base_ + "\\victim.txt");
    HostileLines();
    Shortcuts();
    Garbage();
    std::shuffle(lines_.begin(), lines_.end(), random_);

    log_ = root_ + "\\Logs\\install.log";
    std::string text;
    for (const std::string& line : lines_) text += line + (Chance(50) ? "\r\n" : "\n");
    WriteFileAt(log_, text);
    deletable_.insert(Folded(log_));
    Take(base_, before_, names_);
}

// Lines that name decoys the way a hostile or broken log could: the path a
// system call would act on is never the text the line shows.
void Trial::HostileLines() {
    const std::string nul(1, '\0');
    const std::string drive_less = outside_.substr(2);  // "\users\...\outside"
    const std::string relative_up = root_ + "\\" + Name() + "\\..\\..\\outside\\victim.txt";
    std::vector<std::string> hostile = {
        "victim.txt (Extracted)",
        "..\\victim.txt (Extracted)",
        outside_.substr(0, 2) + "victim.txt (Extracted)",
        drive_less + "\\victim.txt (Extracted)",
        relative_up + " (Extracted)",
        root_ + "\\.\\..\\outside\\victim.txt (Extracted)",
        root_ + "/../outside/victim.txt (Extracted)",
        outside_ + "\\\\victim.txt. (Extracted)",
        "\\\\?\\" + outside_ + "\\victim.txt (Extracted)",
        "<Desktop>;t;;..\\..\\..\\outside\\x;; (Group Setup) (Succeeded)",
        "..\\..\\..\\..\\outside;t;;x;; (Group Setup) (Succeeded)",
        "<Desktop>;t;;" + outside_ + "\\x;; (Group Setup) (Succeeded)",
    };
    // A NUL cuts the path every system call sees.
    if (!decoys_.empty()) {
        const std::string& decoy = decoys_[static_cast<std::size_t>(Pick(static_cast<int>(decoys_.size())))];
        hostile.push_back(decoy + nul + "x (Extracted)");
        hostile.push_back(decoy + nul + " (Extracted)");
    }
    // Over-long entries whose first characters name a decoy.
    {
        const std::string folder = outside_ + "\\" + std::string(200 - outside_.size(), 'd');
        const std::string decoy = folder + "\\" + std::string(kMaxRemovalPathLength - folder.size() - 1, 'v');
        Decoy(decoy);
        hostile.push_back(decoy + "tail.dll (Extracted)");
        hostile.push_back(std::string(kMaxLogLineLength, 'g') + decoy + " (Extracted)");
    }
    for (const std::string& line : hostile)
        if (Chance(60)) Line(line);
}

void Trial::Shortcuts() {
    struct Place { const char* macro; std::string folder; };
    const std::vector<Place> places = {{"<Desktop>", desktop_}, {"<SendTo>", send_to_},
                                       {"<Start>", start_},     {"<StartUp>", startup_},
                                       {nullptr, programs_}};
    const std::string group = Name();
    bool group_named = false;
    const int count = Pick(5);
    for (int i = 0; i < count; ++i) {
        const Place& place = places[static_cast<std::size_t>(Pick(5))];
        const std::string name = Name();
        std::string field;
        std::string folder = place.folder;
        if (place.macro != nullptr) {
            field = place.macro;
            if (Chance(40)) {
                const std::string sub = Name();
                field += "\\" + sub;
                folder += "\\" + sub;
            }
        } else if (Chance(60)) {
            field = "<CGroup>";
            folder += "\\" + group;
            group_named = true;
        } else {
            field = Name();
            folder += "\\" + field;
        }
        const std::string link = folder + "\\" + name + ".lnk";
        if (link.size() > kMaxRemovalPathLength) continue;
        if (Chance(85) && File(link, true)) deletable_.insert(Folded(link));
        Line(field + ";C:\\App\\a.exe;args;" + name + ";icon (Group Setup) (Succeeded)");
        if (Chance(20)) Decoy(folder + "\\unlisted.lnk");
    }
    if (group_named || Chance(30)) Line(group + " (Custom Group Name)");
}

void Trial::Garbage() {
    const int count = Pick(4);
    for (int i = 0; i < count; ++i) {
        std::string line;
        const int length = Pick(80);
        for (int c = 0; c < length; ++c) {
            char ch = static_cast<char>(Pick(256));
            if (ch == '\n') ch = ' ';
            line += ch;
        }
        if (Chance(50)) line += " (Extracted)";
        Line(line);
    }
    if (Chance(50)) Line("");
    if (Chance(30)) Line("   ");
}

void Trial::Run(const ProtectedFolders& machine) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA((outside_ + "\\cwd").c_str());  // where relative names would land

    SortedListBox list;
    MacroFolders folders;
    folders.exe = root_;
    InstallLogContent content;
    ASSERT_TRUE(ReadInstallLog(list.get(), log_.c_str(), folders, content));

    ProtectedFolders protected_folders = machine;
    for (const std::string& folder : protected_) protected_folders.Add(folder);

    bool cancel = false;
    RemovalJob job;
    job.files = content.lists.files;
    job.shortcuts = content.lists.shortcuts;
    job.log_path = log_;
    job.cancel = &cancel;
    job.protected_folders = &protected_folders;
    job.confirm_shared = [this](const char* path) {
        const auto answer = answers_.find(Folded(path));
        EXPECT_NE(answer, answers_.end()) << "asked about a file never shared: " << path;
        return answer != answers_.end() && answer->second;
    };
    job.remove_uninstall_entry = [this] { ++entry_removals_; };
    const std::map<std::string, std::string> shell = {
        {"desktop", desktop_}, {"sendto", send_to_}, {"start", start_}, {"startup", startup_},
        {"programs", programs_}};
    job.locate_shortcut = [&](const char* entry) {
        const SpecialFolder selected = FindSpecialFolder(entry);
        const char* key = selected == SpecialFolder::Desktop     ? "desktop"
                          : selected == SpecialFolder::SendTo    ? "sendto"
                          : selected == SpecialFolder::StartMenu ? "start"
                          : selected == SpecialFolder::Startup   ? "startup"
                                                                 : "programs";
        ShortcutLocation location;
        location.shell_folder = shell.at(key);
        location.path = ComposeSpecialFolderPath(location.shell_folder, entry, selected);
        return location;
    };
    RunRemovalJob(job);
    SetCurrentDirectoryA(previous);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(entry_removals_, 1);
    Take(base_, after_, names_);
}

void Trial::Check() {
    const std::string root = Folded(root_);
    PathSet deleted_files;
    for (const auto& [path, entry] : before_) {
        const auto now = after_.find(path);
        const std::string& name = names_[path];
        if (!IsBelow(path, root)) {
            EXPECT_TRUE(now != after_.end() && now->second.folder == entry.folder &&
                        now->second.content == entry.content)
                << "changed outside the installation: " << name;
            continue;
        }
        if (now != after_.end()) {
            EXPECT_EQ(now->second.content, entry.content) << name;
            if (!entry.folder && deletable_.count(path) &&
                !(shared_.count(path) && !answers_[path]))
                ADD_FAILURE() << "listed file left behind: " << name;
            continue;
        }
        if (entry.folder) continue;
        deleted_files.insert(path);
        EXPECT_TRUE(deletable_.count(path)) << "deleted what no line listed: " << name;
        if (shared_.count(path)) EXPECT_TRUE(answers_[path]) << "shared file deleted after Skip: " << name;
    }
    for (const auto& [path, entry] : after_)
        EXPECT_TRUE(before_.count(path)) << "appeared: " << names_[path];

    // Removed folders: emptied by this run, above a deleted file, not protected.
    for (const auto& [path, entry] : before_) {
        if (!entry.folder || after_.count(path) || !IsBelow(path, root)) continue;
        const std::string& name = names_[path];
        EXPECT_FALSE(protected_.count(path)) << "protected folder removed: " << name;
        bool above_deleted = false;
        for (const auto& [inner, inner_entry] : before_) {
            if (!IsBelow(inner, path)) continue;
            if (!inner_entry.folder && !deleted_files.count(inner))
                ADD_FAILURE() << "removed a folder that held a kept file: " << name;
            if (deleted_files.count(inner)) above_deleted = true;
        }
        EXPECT_TRUE(above_deleted) << "removed a folder above no deleted file: " << name;
    }
}

// The failing seed's log, with bytes outside printable ASCII escaped.
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
        std::printf("  %s\n", shown.c_str());
    }
}

void Trial::CleanUp() {
    for (const std::string& path : shared_) SetShared(path, false);
    DeleteTree(base_);
}

int EnvironmentNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::atoi(text) : fallback;
}

TEST(RemovalProperty, RandomInstallationsAndHostileLogs) {
    const int seeds = EnvironmentNumber("REMOVAL_PROPERTY_SEEDS", 1000);
    const int first = EnvironmentNumber("REMOVAL_PROPERTY_FIRST_SEED", 1);
    const bool ansi_1252 = GetACP() == 1252;
    if (!ansi_1252) std::printf("ANSI code page %u: names outside ASCII left out\n", GetACP());
    ScratchFolder scratch("rmprop");
    const ProtectedFolders machine = ProtectedFolders::OfThisMachine();
    for (int seed = first; seed < first + seeds; ++seed) {
        Trial trial(static_cast<unsigned>(seed), scratch / ("s" + std::to_string(seed)), ansi_1252);
        trial.Build();
        trial.Run(machine);
        trial.Check();
        if (HasFailure()) trial.PrintLog();
        trial.CleanUp();
        if (HasFailure()) {
            std::printf("failing seed: %d (REMOVAL_PROPERTY_FIRST_SEED=%d REMOVAL_PROPERTY_SEEDS=1)\n",
                        seed, seed);
            return;
        }
    }
    std::printf("%d seeds from %d hold the removal invariant\n", seeds, first);
}

}  // namespace
