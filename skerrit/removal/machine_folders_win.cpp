#include "skerrit/removal/machine_folders_win.h"

#include <windows.h>
#include <shlobj.h>

#include <set>

#include "common/scoped_handles_win.h"
#include "skerrit/removal/path_names_win.h"
#include "skerrit/removal/removal_paths.h"

namespace {

const char kProfileList[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";

// A string value with environment variables expanded (REG_EXPAND_SZ, and
// REG_SZ values that hold them anyway); empty when missing.
std::string RegistryPath(HKEY key, const char* value) {
    char raw[MAX_PATH * 2];
    DWORD size = sizeof raw - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(raw), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    raw[size < sizeof raw ? size : sizeof raw - 1] = '\0';
    char expanded[MAX_PATH * 2];
    const DWORD length = ExpandEnvironmentStringsA(raw, expanded, sizeof expanded);
    if (length == 0 || length > sizeof expanded) return std::string();
    return WithoutTrailingBackslash(expanded);
}

std::string SubKeyPath(HKEY parent, const char* subkey, const char* value) {
    ScopedKey key;
    if (RegOpenKeyExA(parent, subkey, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) return std::string();
    return RegistryPath(key.get(), value);
}

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 3 && path[1] == ':' && path[2] == '\\') || path.compare(0, 2, "\\\\") == 0;
}

std::string ShellFolderPath(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::string();
    return WithoutTrailingBackslash(path);
}

template <typename Get>
void AddFolder(std::vector<std::string>& folders, Get get) {
    char buffer[MAX_PATH];
    const UINT length = get(buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) folders.push_back(WithoutTrailingBackslash(buffer));
}

void AddProgramFolders(std::vector<std::string>& folders) {
    // A 32-bit program reads the 32-bit view: both folders are named there.
    for (const char* value : {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir",
                              "CommonFilesDir", "CommonFilesDir (x86)", "CommonW6432Dir"}) {
        const std::string folder = SubKeyPath(HKEY_LOCAL_MACHINE, kCurrentVersion, value);
        if (!folder.empty()) folders.push_back(folder);
    }
}

void AddCommonFilesFolders(std::vector<std::string>& folders) {
    for (const char* value : {"CommonFilesDir", "CommonFilesDir (x86)", "CommonW6432Dir"}) {
        const std::string folder = SubKeyPath(HKEY_LOCAL_MACHINE, kCurrentVersion, value);
        if (!folder.empty()) folders.push_back(folder);
    }
    const std::string common = ShellFolderPath(CSIDL_PROGRAM_FILES_COMMON);
    if (!common.empty()) folders.push_back(common);
}

// Every profile's folder, the folder of profiles, Default, All Users, Public.
std::vector<std::string> ProfileRoots(std::string& profiles_folder) {
    std::vector<std::string> roots;
    ScopedKey list;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_READ, list.out()) == ERROR_SUCCESS) {
        profiles_folder = RegistryPath(list.get(), "ProfilesDirectory");
        if (!profiles_folder.empty()) roots.push_back(profiles_folder);
        // On XP the All Users and Default User profiles are names inside the
        // profiles folder; later systems give whole paths.
        for (const char* value : {"AllUsersProfile", "DefaultUserProfile", "Default", "Public", "ProgramData"}) {
            std::string folder = RegistryPath(list.get(), value);
            if (folder.empty()) continue;
            if (!IsAbsolute(folder) && !profiles_folder.empty()) folder = profiles_folder + "\\" + folder;
            roots.push_back(folder);
        }
        char name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            const LONG result = RegEnumKeyExA(list.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (result == ERROR_MORE_DATA) continue;
            if (result != ERROR_SUCCESS) break;
            const std::string profile = SubKeyPath(list.get(), name, "ProfileImagePath");
            if (!profile.empty()) roots.push_back(profile);
        }
    }
    for (int csidl : {CSIDL_PROFILE, CSIDL_COMMON_APPDATA}) {
        const std::string folder = ShellFolderPath(csidl);
        if (!folder.empty()) roots.push_back(folder);
    }
    // All Users as the environment knows it (XP's common profile).
    char all_users[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("ALLUSERSPROFILE", all_users, MAX_PATH);
    if (length > 0 && length < MAX_PATH) roots.push_back(WithoutTrailingBackslash(all_users));
    return roots;
}

// The shell folders of a profile by the names Windows gives them (XP, then
// Vista and later; ProgramData holds the common Start menu below Microsoft).
const char* const kShellFolderNames[] = {
    "Desktop", "My Documents", "Documents", "Favorites", "Start Menu", "Start Menu\\Programs",
    "Start Menu\\Programs\\Startup", "SendTo", "Templates", "Recent", "NetHood", "PrintHood",
    "Cookies", "Application Data", "Local Settings", "Local Settings\\Application Data",
    "Local Settings\\Temp", "Local Settings\\History", "Local Settings\\Temporary Internet Files",
    "Shared Documents", "Downloads", "Music", "Pictures", "Videos", "Links", "Contacts",
    "Saved Games", "Searches", "OneDrive", "AppData", "AppData\\Roaming", "AppData\\Local",
    "AppData\\LocalLow", "AppData\\Local\\Temp", "AppData\\Roaming\\Microsoft",
    "AppData\\Roaming\\Microsoft\\Windows", "AppData\\Roaming\\Microsoft\\Windows\\Start Menu",
    "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs",
    "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup",
    "AppData\\Roaming\\Microsoft\\Windows\\SendTo", "AppData\\Roaming\\Microsoft\\Windows\\Templates",
    "AppData\\Roaming\\Microsoft\\Windows\\Recent",
    "AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch", "Microsoft",
    "Microsoft\\Windows", "Microsoft\\Windows\\Start Menu", "Microsoft\\Windows\\Start Menu\\Programs",
    "Microsoft\\Windows\\Start Menu\\Programs\\Startup", "Microsoft\\Windows\\Templates",
    "Public Desktop", "Public Documents",
};

// This user's shell folders (some localised on XP) as names inside a profile.
void AddLocalisedNames(std::set<std::string>& names, const std::vector<std::string>& roots) {
    static const int kUserFolders[] = {
        CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_SENDTO,
        CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_TEMPLATES, CSIDL_FAVORITES,
        CSIDL_RECENT, CSIDL_NETHOOD, CSIDL_PRINTHOOD, CSIDL_COOKIES, CSIDL_HISTORY, CSIDL_INTERNET_CACHE,
        CSIDL_MYMUSIC, CSIDL_MYPICTURES, CSIDL_MYVIDEO, CSIDL_COMMON_DESKTOPDIRECTORY,
        CSIDL_COMMON_STARTMENU, CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTUP, CSIDL_COMMON_DOCUMENTS,
        CSIDL_COMMON_TEMPLATES, CSIDL_COMMON_APPDATA};
    for (int csidl : kUserFolders) {
        const std::string folder = ShellFolderPath(csidl);
        for (const std::string& root : roots) {
            if (folder.size() <= root.size() + 1 || folder[root.size()] != '\\' ||
                lstrcmpiA(folder.substr(0, root.size()).c_str(), root.c_str()) != 0)
                continue;
            std::string name = folder.substr(root.size() + 1);
            // Each folder on the way counts too ("Startmen\xfc" above "Programme").
            for (std::size_t slash = name.find('\\'); slash != std::string::npos; slash = name.find('\\', slash + 1))
                names.insert(name.substr(0, slash));
            names.insert(name);
        }
    }
}

}  // namespace

std::vector<std::string> ProtectedFolderPaths() {
    std::vector<std::string> folders;
    AddFolder(folders, GetWindowsDirectoryA);
    AddFolder(folders, GetSystemDirectoryA);
    AddFolder(folders, GetSystemWindowsDirectoryA);
    AddFolder(folders, [](LPSTR buffer, UINT size) { return static_cast<UINT>(GetTempPathA(size, buffer)); });
    AddProgramFolders(folders);
    for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON, CSIDL_COMMON_APPDATA,
                      CSIDL_COMMON_DOCUMENTS, CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_FONTS}) {
        const std::string folder = ShellFolderPath(csidl);
        if (!folder.empty()) folders.push_back(folder);
    }
    // This user's folders wherever they are redirected to.
    static const int kUserFolders[] = {
        CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP,
        CSIDL_SENDTO, CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_TEMPLATES,
        CSIDL_FAVORITES, CSIDL_RECENT, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_STARTMENU,
        CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTUP, CSIDL_MYMUSIC, CSIDL_MYPICTURES, CSIDL_MYVIDEO};
    for (int csidl : kUserFolders) {
        const std::string folder = ShellFolderPath(csidl);
        if (!folder.empty()) folders.push_back(folder);
    }
    std::string profiles_folder;
    const std::vector<std::string> roots = ProfileRoots(profiles_folder);
    std::set<std::string> names(std::begin(kShellFolderNames), std::end(kShellFolderNames));
    AddLocalisedNames(names, roots);
    for (const std::string& root : roots) {
        folders.push_back(root);
        for (const std::string& name : names) folders.push_back(root + "\\" + name);
    }
    return folders;
}

std::vector<std::string> SystemSharedFolders() {
    std::vector<std::string> folders;
    AddFolder(folders, GetWindowsDirectoryA);
    AddFolder(folders, GetSystemDirectoryA);
    AddFolder(folders, GetSystemWindowsDirectoryA);
    using Wow64Folder = UINT(WINAPI*)(LPSTR, UINT);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto wow64 = reinterpret_cast<Wow64Folder>(
        kernel != nullptr ? GetProcAddress(kernel, "GetSystemWow64DirectoryA") : nullptr);
    if (wow64 != nullptr) AddFolder(folders, wow64);
    AddCommonFilesFolders(folders);
    return folders;
}

std::string WindowsTempFolder() {
    char buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return WithoutTrailingBackslash(buffer) + "\\Temp";
}
