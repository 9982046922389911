// A file system that passes every call to the controls' Win32 one and adds up the time each
// kind of call takes, per thread kind (the run's own thread, or a helper that compresses
// ahead), so that a run's time splits into its phases.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "toolkit/shared/win32_file_system_win.h"
#include "toolkit/zipcore/run_events.h"

namespace phases {

enum Phase {
    Turn, ListFolder, Stat, CreateFolder, OpenRead, Read, Create, CreateNew, Write, Close,
    SetModified, SetAttributes, Rename, Replace, Remove, kPhaseCount
};

const char* PhaseName(Phase phase);

struct Tally {
    std::atomic<int64_t> ticks[2][kPhaseCount] = {};  // [0] the run's thread, [1] helpers
    std::atomic<uint32_t> calls[2][kPhaseCount] = {};
    DWORD runThread = GetCurrentThreadId();

    void Add(Phase phase, int64_t elapsed);
    double Seconds(int thread, Phase phase) const;
};

int64_t Ticks();
double TicksToSeconds(int64_t ticks);

// Times one call into `tally` under `phase`.
class Timed {
public:
    Timed(Tally& tally, Phase phase) : tally_(tally), phase_(phase), start_(Ticks()) {}
    ~Timed() { tally_.Add(phase_, Ticks() - start_); }
    Timed(const Timed&) = delete;
    Timed& operator=(const Timed&) = delete;

private:
    Tally& tally_;
    Phase phase_;
    int64_t start_;
};

class TimedFileSystem final : public zipcore::FileSystem {
public:
    TimedFileSystem(Tally& tally, bool twoThreads) : tally_(tally), twoThreads_(twoThreads) {}

    std::unique_ptr<zipcore::ReadFile> openRead(const std::string& path) override;
    std::unique_ptr<zipcore::WriteFile> create(const std::string& path) override;
    std::unique_ptr<zipcore::WriteFile> createNew(const std::string& path) override;
    std::unique_ptr<zipcore::ArchiveLock> lockArchive(const std::string& path,
                                                      const std::function<bool()>& stopWaiting,
                                                      zipcore::LockRefusal* refusal = nullptr) override;
    std::string canonicalPath(const std::string& path) override;
    bool stat(const std::string& path, zipcore::FileStat& out) override;
    bool createFolder(const std::string& path) override;
    bool setModified(const std::string& path, zipcore::DosDateTime when) override;
    bool setAttributes(const std::string& path, uint32_t attributes) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool renameNew(const std::string& from, const std::string& to) override;
    bool replace(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
    bool listFolder(const std::string& path, std::vector<zipcore::FolderEntry>& out) override;
    char separator() const override { return inner_.separator(); }
    bool caseSensitive() const override { return inner_.caseSensitive(); }
    size_t maxPathLength() const override { return inner_.maxPathLength(); }
    bool concurrentReads() const override { return twoThreads_ && inner_.concurrentReads(); }

private:
    vxfs::Win32FileSystem inner_;
    Tally& tally_;
    bool twoThreads_;
};

// Events of a host without handlers: nothing is answered; the calls are counted (what they
// cost a control is its time less the engine's).
class CountedEvents final : public zipcore::RunEvents {
public:
    bool majorStatus(const std::string&, int32_t) override { return ++calls, false; }
    bool minorStatus(const std::string&, int32_t) override { return ++calls, false; }
    int32_t message(zipcore::MessageCode, const std::string&) override
    {
        ++calls;
        ++messages;
        return zipcore::ResponseDefault;
    }
    bool pollCancel() override { return ++calls, false; }

    unsigned calls = 0;
    unsigned messages = 0;
};

} // namespace phases
