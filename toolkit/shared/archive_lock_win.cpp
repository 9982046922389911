// The lock runs take turns on one archive with: a named mutex that every thread, process,
// session and integrity level on this machine opens by the same name.
#include "toolkit/shared/win32_file_system_win.h"

#include <windows.h>
#include <sddl.h>

#include <map>
#include <mutex>

#include "common/padded_number.h"
#include "toolkit/shared/wide_text_win.h"
#include "toolkit/zipcore/archive_turns.h"

namespace vxfs {

namespace {

// Archives whose lock a thread of this process holds, and that thread. The mutex lets its
// owner in again, so an update started from an event of the same thread's update is refused
// here instead of being overwritten by the outer one.
std::mutex heldGuard;
std::map<std::string, DWORD> heldBy;

bool HeldByThisThread(const std::string& key)
{
    const std::lock_guard<std::mutex> guard(heldGuard);
    const auto it = heldBy.find(key);
    return it != heldBy.end() && it->second == GetCurrentThreadId();
}

class MutexLock final : public zipcore::ArchiveLock {
public:
    MutexLock(HANDLE mutex, std::string key) : mutex_(mutex), key_(std::move(key))
    {
        const std::lock_guard<std::mutex> guard(heldGuard);
        heldBy[key_] = GetCurrentThreadId();
    }
    ~MutexLock() override
    {
        {
            const std::lock_guard<std::mutex> guard(heldGuard);
            heldBy.erase(key_);
        }
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    HANDLE mutex_;
    std::string key_;
};

// The archive's folder by its identity (volume serial number and file index: the same through
// a mapped drive, UNC, subst or a short name), then its long name in upper case. A publish
// gives the archive itself a new file index, so only its folder's identity is used.
std::string LockKey(Win32FileSystem& fs, const std::string& path)
{
    const std::string full = fs.canonicalPath(path);
    const size_t sep = full.find_last_of("\\/");
    const std::string folder = sep == std::string::npos ? std::string(".") : full.substr(0, sep + 1);
    auto upper = [](const std::string& utf8) {
        vxcom::WideText wide = vxcom::WideFromUtf8(utf8);
        CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size() - 1));
        return vxcom::Utf8FromWide(wide.data(), wide.size() - 1);
    };
    HANDLE h = CreateFileW(vxcom::WideFromUtf8(folder).data(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    std::string key;
    if (h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, &info))
        key = PaddedNumber(info.dwVolumeSerialNumber, 8, 16) + ":" + PaddedNumber(info.nFileIndexHigh, 8, 16) +
              PaddedNumber(info.nFileIndexLow, 8, 16) + "\\" + upper(full.substr(sep + 1));
    else
        key = upper(full);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return key;
}

// Everyone may wait on and release the mutex; a low integrity label lets processes of every
// level open it. Systems that know no labels take the descriptor without one.
class OpenToAll {
public:
    OpenToAll()
    {
        for (const char* sddl : {"D:(A;;0x001F0001;;;WD)S:(ML;;NW;;;LW)", "D:(A;;0x001F0001;;;WD)"})
            if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor_, nullptr))
                break;
        attributes_.nLength = sizeof attributes_;
        attributes_.lpSecurityDescriptor = descriptor_;
        attributes_.bInheritHandle = FALSE;
    }
    ~OpenToAll() { LocalFree(descriptor_); }
    OpenToAll(const OpenToAll&) = delete;
    OpenToAll& operator=(const OpenToAll&) = delete;
    SECURITY_ATTRIBUTES* Get() { return descriptor_ ? &attributes_ : nullptr; }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    SECURITY_ATTRIBUTES attributes_{};
};

// Null when the name cannot be had as a mutex (another object of that name, or one this user
// may not open).
HANDLE OpenArchiveMutex(const std::string& key)
{
    OpenToAll security;
    const std::string name = zipcore::archiveLockName(key);
    // The machine-wide namespace, where the system has one: users of other sessions exclude
    // each other too.
    for (const std::string& full : {"Global\\" + name, name}) {
        HANDLE mutex = CreateMutexA(security.Get(), FALSE, full.c_str());
        if (mutex) return mutex;
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED) return OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, full.c_str());
        if (error != ERROR_PATH_NOT_FOUND && error != ERROR_BAD_PATHNAME) return nullptr;
    }
    return nullptr;
}

bool Refuse(zipcore::LockRefusal* refusal, zipcore::LockRefusal why)
{
    if (refusal) *refusal = why;
    return false;
}

// Waits for the mutex; false when the host stopped the wait or waiting failed.
bool WaitFor(HANDLE mutex, const std::function<bool()>& stopWaiting, zipcore::LockRefusal* refusal)
{
    // An abandoned mutex is ours too: its owner died, and the recovery that follows every
    // taking of the lock restores what it left. A free turn is taken at once, without a word
    // to the host.
    DWORD waited = WaitForSingleObject(mutex, 0);
    DWORD lastAsked = GetTickCount();
    for (;;) {
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return true;
        if (waited == WAIT_OBJECT_0 + 1) {
            // Windows of this thread (a job's status dialog) keep painting and answering
            // messages sent by other threads (which a thread waiting for us may be doing);
            // posted input waits until the run goes on.
            MSG message;
            for (int i = 0; i < 64 && PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
                DispatchMessageA(&message);
        } else if (waited != WAIT_TIMEOUT) {
            return Refuse(refusal, zipcore::LockRefusal::Unavailable);
        }
        if (GetTickCount() - lastAsked >= 50) {
            lastAsked = GetTickCount();
            if (stopWaiting && stopWaiting()) return Refuse(refusal, zipcore::LockRefusal::Stopped);
        }
        waited = MsgWaitForMultipleObjects(1, &mutex, FALSE, 50, QS_PAINT | QS_SENDMESSAGE);
    }
}

} // namespace

std::unique_ptr<zipcore::ArchiveLock> Win32FileSystem::lockArchive(const std::string& path,
                                                                   const std::function<bool()>& stopWaiting,
                                                                   zipcore::LockRefusal* refusal)
{
    std::string key = LockKey(*this, path);
    // The key is worked out again once the lock is held: the archive may have come into being
    // meanwhile (its long name then known), and runs that saw it so hold the other key.
    for (int round = 0; round < 8; ++round) {
        if (HeldByThisThread(key)) {
            Refuse(refusal, zipcore::LockRefusal::Busy);
            return nullptr;
        }
        HANDLE mutex = OpenArchiveMutex(key);
        if (!mutex) {
            Refuse(refusal, zipcore::LockRefusal::Unavailable);
            return nullptr;
        }
        if (!WaitFor(mutex, stopWaiting, refusal)) {
            CloseHandle(mutex);
            return nullptr;
        }
        std::unique_ptr<zipcore::ArchiveLock> lock(new MutexLock(mutex, key));
        const std::string again = LockKey(*this, path);
        if (again == key) return lock;
        key = again;
    }
    Refuse(refusal, zipcore::LockRefusal::Unavailable);
    return nullptr;
}

} // namespace vxfs
