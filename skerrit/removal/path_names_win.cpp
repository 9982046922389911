#include "skerrit/removal/path_names_win.h"

#include "common/lead_bytes.h"
#include "common/scoped_handles_win.h"
#include "skerrit/removal/removal_paths.h"

namespace {

// Vista and later; XP resolves what it can by the other means below.
using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
using VolumePathsFunction = BOOL(WINAPI*)(LPCSTR, LPSTR, DWORD, PDWORD);

FARPROC SystemFunction(const char* module_name, const char* name) {
    HMODULE module = GetModuleHandleA(module_name);
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

FARPROC Kernel32Function(const char* name) { return SystemFunction("kernel32.dll", name); }

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = sizeof name;
    return GetComputerNameA(name, &length) ? std::string(name, length) : std::string();
}

bool IsDriveForm(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// "\\?\Volume{...}\rest" through the drive the volume is mounted as.
std::string ThroughVolumeDrive(const std::string& path) {
    static const char kVolume[] = "\\\\?\\Volume{";
    if (path.compare(0, sizeof kVolume - 1, kVolume) != 0) return path;
    const std::size_t end = path.find("}\\");
    if (end == std::string::npos) return path;
    const auto paths_of = reinterpret_cast<VolumePathsFunction>(
        Kernel32Function("GetVolumePathNamesForVolumeNameA"));
    if (paths_of == nullptr) return path;
    char names[MAX_PATH * 4] = "";
    DWORD length = 0;
    if (!paths_of(path.substr(0, end + 2).c_str(), names, sizeof names, &length) || names[0] == '\0')
        return path;
    return std::string(names) + path.substr(end + 2);  // the first name ends with a backslash
}

// A subst drive's target ("\??\C:\folder"); other drives are devices.
std::string ThroughSubstDrive(std::string path) {
    for (int depth = 0; depth < 4 && IsDriveForm(path); ++depth) {
        char target[MAX_PATH + 8] = "";
        const std::string drive = path.substr(0, 2);
        if (QueryDosDeviceA(drive.c_str(), target, sizeof target) == 0) break;
        if (std::string(target, 4) != "\\??\\" || !IsDriveForm(target + 4)) break;
        path = WithoutTrailingBackslash(target + 4) + path.substr(2);
    }
    return path;
}

std::string LongForm(const std::string& path) {
    char buffer[MAX_PATH];
    const DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? path : std::string(buffer, length);
}

// A junction, symbolic link or mount point: a name surrogate. Other reparse
// points (compressed, deduplicated, cloud placeholders) are ordinary folders;
// a tag the system does not report is taken as a link.
bool IsLinkFolder(const std::string& folder, DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    WIN32_FIND_DATAA data = {};  // a system that reports no tag leaves it zero
    ScopedFind find(folder.c_str(), data);
    if (!find.ok()) return true;
    const DWORD tag = data.dwReserved0;
    return tag == 0 || (tag & 0x20000000u) != 0;
}

// Only a local fixed NTFS volume gives indexes that identify a folder.
// Volumes do not change kind during a run: asked once per process.
bool IsReliableVolume(char drive) {
    static signed char reliable[26];  // 0: not asked yet
    if (drive < 'A' || drive > 'Z') return false;
    signed char& verdict = reliable[drive - 'A'];
    if (verdict == 0) {
        const char root[] = {drive, ':', '\\', '\0'};
        char file_system[32] = "";
        const bool ntfs = GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, file_system,
                                                sizeof file_system) &&
                          lstrcmpiA(file_system, "NTFS") == 0;
        verdict = ntfs && GetDriveTypeA(root) == DRIVE_FIXED ? 1 : -1;
    }
    return verdict > 0;
}

// The file index alone, without the volume (NtQueryInformationFile with
// FileInternalInformation, there since NT 4).
bool FileIndexOf(HANDLE handle, DWORD& high, DWORD& low) {
    using QueryFileFunction = LONG(WINAPI*)(HANDLE, void* io_status, void* info, ULONG length, int info_class);
    constexpr int kFileInternalInformation = 6;
    const auto query = reinterpret_cast<QueryFileFunction>(SystemFunction("ntdll.dll", "NtQueryInformationFile"));
    ULONG_PTR io_status[2] = {};
    LARGE_INTEGER index = {};
    if (query == nullptr || query(handle, io_status, &index, sizeof index, kFileInternalInformation) < 0) return false;
    high = static_cast<DWORD>(index.HighPart);
    low = index.LowPart;
    return true;
}

}  // namespace

std::string FoldedPath(std::string path) {
    // ASCII text folds alike in every code page; other text (where a trail byte may look
    // like a letter) needs the system's tables.
    for (const char c : path) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            CharUpperBuffA(&path[0], static_cast<DWORD>(path.size()));
            return path;
        }
    }
    for (char& c : path)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return path;
}

bool IsKeyBelow(const std::string& key, const std::string& folder) {
    return key.size() > folder.size() + 1 && key.compare(0, folder.size(), folder) == 0 &&
           key[folder.size()] == '\\' && LastSeparator(key.substr(0, folder.size() + 1)) == folder.size();
}

PathNames::PathNames() : computer_name_(ComputerName()) {}

const NamedFolder& PathNames::Folder(const std::string& folder) {
    // Files of one folder come one after another: the last answer is kept as spelled.
    if (last_ != nullptr && folder == last_spelling_) return *last_;
    const std::string asked = FoldedPath(WithoutTrailingBackslash(folder));
    auto cached = folders_.find(asked);
    if (cached == folders_.end()) {
        NamedFolder named = Resolve(WithoutTrailingBackslash(folder));
        cached = folders_.emplace(asked, std::move(named)).first;
    }
    last_spelling_ = folder;
    last_ = &cached->second;
    return *last_;
}

NamedFolder PathNames::Resolve(const std::string& folder) {
    NamedFolder named;
    std::string local = ThroughVolumeDrive(LocalFormOfPath(folder, computer_name_));
    const std::size_t slash = LastSeparator(local);
    const bool is_root = slash == std::string::npos || !MayRemoveFolder(local);
    const std::string opened = is_root ? local + "\\" : local;  // a root with its backslash
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (is_root) {
        attributes = GetFileAttributesA(opened.c_str());
    } else {
        // What lies above is resolved (and cached) first: a missing folder
        // takes its parent's form, nothing is below a missing folder, and a
        // link anywhere above counts.
        const NamedFolder& parent = Folder(local.substr(0, slash));
        named.through_link = parent.through_link;
        if (parent.exists) attributes = GetFileAttributesA(local.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            named.key = parent.key + "\\" + FoldedPath(local.substr(slash + 1));
            return named;
        }
        named.through_link = named.through_link || IsLinkFolder(local, attributes);
    }
    named.exists = attributes != INVALID_FILE_ATTRIBUTES;
    ScopedHandle handle(CreateFileA(opened.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::string resolved;
    static const auto final_path =
        reinterpret_cast<FinalPathFunction>(Kernel32Function("GetFinalPathNameByHandleA"));
    if (handle.ok() && final_path != nullptr) {
        char buffer[MAX_PATH * 2];
        const DWORD length = final_path(handle.get(), buffer, sizeof buffer, 0);
        if (length > 0 && length < sizeof buffer)
            resolved = LocalFormOfPath(std::string(buffer, length), computer_name_);
    }
    if (resolved.empty()) resolved = LongForm(ThroughSubstDrive(local));
    named.key = FoldedPath(WithoutTrailingBackslash(resolved));
    // Keys are folded: a drive is a capital letter.
    if (handle.ok() && IsDriveForm(named.key) && IsReliableVolume(named.key[0])) {
        // Reached from the drive it resolves to without passing a link or
        // mount point, a folder lies on that drive's volume.
        const bool on_spelled_drive = !named.through_link && IsDriveForm(local) &&
                                      (local[0] & ~0x20) == named.key[0];
        named.identity = IdentityOf(handle.get(), on_spelled_drive ? named.key[0] : '\0');
    }
    return named;
}

FileIdentity PathNames::IdentityOf(HANDLE handle, char drive) {
    FileIdentity identity;
    const int slot = drive >= 'A' && drive <= 'Z' ? drive - 'A' : -1;
    if (slot >= 0 && volume_serials_[slot] != 0) {
        // Asking for the volume costs far more than the index under Wine
        // (its mount manager answers): the drive's serial is asked once.
        if (!FileIndexOf(handle, identity.index_high, identity.index_low)) return FileIdentity();
        identity.volume = volume_serials_[slot];
    } else {
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(handle, &info)) return identity;
        identity.volume = info.dwVolumeSerialNumber;
        identity.index_high = info.nFileIndexHigh;
        identity.index_low = info.nFileIndexLow;
        if (slot >= 0) volume_serials_[slot] = info.dwVolumeSerialNumber;
    }
    identity.known = identity.index_high != 0 || identity.index_low != 0;
    return identity;
}

std::string FileNameKey(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    if (slash == std::string::npos) return FoldedPath(path);
    std::string leaf = path.substr(slash + 1);
    // Only a short alias holds a '~'; other names are their own long form.
    if (leaf.find('~') != std::string::npos) {
        const std::string long_path = LongForm(path);
        const std::size_t long_slash = LastSeparator(long_path);
        if (long_path != path && long_slash != std::string::npos) leaf = long_path.substr(long_slash + 1);
    }
    return FoldedPath(leaf);
}

std::string PathNames::FileKey(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    if (slash == std::string::npos) return FoldedPath(path);
    return Folder(path.substr(0, slash)).key + "\\" + FileNameKey(path);
}
