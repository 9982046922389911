#include "bench/toolkit/timed_file_system_win.h"

namespace phases {

namespace {

class TimedReadFile final : public zipcore::ReadFile {
public:
    TimedReadFile(std::unique_ptr<zipcore::ReadFile> inner, Tally& tally) : inner_(std::move(inner)), tally_(tally) {}
    bool read(void* buffer, size_t n, size_t& got) override
    {
        Timed t(tally_, Read);
        return inner_->read(buffer, n, got);
    }
    bool seek(uint64_t position) override
    {
        Timed t(tally_, Read);
        return inner_->seek(position);
    }
    uint64_t size() const override
    {
        Timed t(tally_, Read);
        return inner_->size();
    }

private:
    std::unique_ptr<zipcore::ReadFile> inner_;
    Tally& tally_;
};

class TimedWriteFile final : public zipcore::WriteFile {
public:
    TimedWriteFile(std::unique_ptr<zipcore::WriteFile> inner, Tally& tally) : inner_(std::move(inner)), tally_(tally) {}
    ~TimedWriteFile() override
    {
        Timed t(tally_, Close);
        inner_.reset();
    }
    bool write(const void* data, size_t n) override
    {
        Timed t(tally_, Write);
        return inner_->write(data, n);
    }
    bool seek(uint64_t position) override
    {
        Timed t(tally_, Write);
        return inner_->seek(position);
    }
    uint64_t position() const override { return inner_->position(); }
    bool truncate() override
    {
        Timed t(tally_, Write);
        return inner_->truncate();
    }
    bool close() override
    {
        Timed t(tally_, Close);
        return inner_->close();
    }

private:
    std::unique_ptr<zipcore::WriteFile> inner_;
    Tally& tally_;
};

template <typename File, typename Inner>
std::unique_ptr<Inner> Wrap(std::unique_ptr<Inner> inner, Tally& tally)
{
    if (!inner) return nullptr;
    return std::unique_ptr<Inner>(new File(std::move(inner), tally));
}

} // namespace

const char* PhaseName(Phase phase)
{
    static const char* const names[kPhaseCount] = {
        "archive turn", "folder listing", "stat", "folder creation", "open to read", "read",
        "create", "create new (temporary)", "write", "close", "time stamp", "attributes",
        "rename", "replace (publish)", "remove"};
    return names[phase];
}

int64_t Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double TicksToSeconds(int64_t ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(ticks) / double(frequency.QuadPart);
}

void Tally::Add(Phase phase, int64_t elapsed)
{
    const int thread = GetCurrentThreadId() == runThread ? 0 : 1;
    ticks[thread][phase] += elapsed;
    ++calls[thread][phase];
}

double Tally::Seconds(int thread, Phase phase) const { return TicksToSeconds(ticks[thread][phase]); }

std::unique_ptr<zipcore::ReadFile> TimedFileSystem::openRead(const std::string& path)
{
    std::unique_ptr<zipcore::ReadFile> file;
    {
        Timed t(tally_, OpenRead);
        file = inner_.openRead(path);
    }
    return Wrap<TimedReadFile>(std::move(file), tally_);
}

std::unique_ptr<zipcore::WriteFile> TimedFileSystem::create(const std::string& path)
{
    std::unique_ptr<zipcore::WriteFile> file;
    {
        Timed t(tally_, Create);
        file = inner_.create(path);
    }
    return Wrap<TimedWriteFile>(std::move(file), tally_);
}

std::unique_ptr<zipcore::WriteFile> TimedFileSystem::createNew(const std::string& path)
{
    std::unique_ptr<zipcore::WriteFile> file;
    {
        Timed t(tally_, CreateNew);
        file = inner_.createNew(path);
    }
    return Wrap<TimedWriteFile>(std::move(file), tally_);
}

std::unique_ptr<zipcore::ArchiveLock> TimedFileSystem::lockArchive(const std::string& path,
                                                                   const std::function<bool()>& stopWaiting,
                                                                   zipcore::LockRefusal* refusal)
{
    Timed t(tally_, Turn);
    return inner_.lockArchive(path, stopWaiting, refusal);
}

std::string TimedFileSystem::canonicalPath(const std::string& path)
{
    Timed t(tally_, Turn);
    return inner_.canonicalPath(path);
}

bool TimedFileSystem::stat(const std::string& path, zipcore::FileStat& out)
{
    Timed t(tally_, Stat);
    return inner_.stat(path, out);
}

bool TimedFileSystem::createFolder(const std::string& path)
{
    Timed t(tally_, CreateFolder);
    return inner_.createFolder(path);
}

bool TimedFileSystem::setModified(const std::string& path, zipcore::DosDateTime when)
{
    Timed t(tally_, SetModified);
    return inner_.setModified(path, when);
}

bool TimedFileSystem::setAttributes(const std::string& path, uint32_t attributes)
{
    Timed t(tally_, SetAttributes);
    return inner_.setAttributes(path, attributes);
}

bool TimedFileSystem::rename(const std::string& from, const std::string& to)
{
    Timed t(tally_, Rename);
    return inner_.rename(from, to);
}

bool TimedFileSystem::renameNew(const std::string& from, const std::string& to)
{
    Timed t(tally_, Rename);
    return inner_.renameNew(from, to);
}

bool TimedFileSystem::replace(const std::string& from, const std::string& to)
{
    Timed t(tally_, Replace);
    return inner_.replace(from, to);
}

bool TimedFileSystem::remove(const std::string& path)
{
    Timed t(tally_, Remove);
    return inner_.remove(path);
}

bool TimedFileSystem::listFolder(const std::string& path, std::vector<zipcore::FolderEntry>& out)
{
    Timed t(tally_, ListFolder);
    return inner_.listFolder(path, out);
}

} // namespace phases
