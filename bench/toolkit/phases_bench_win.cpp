// Where a run's time goes: compresses a corpus with the controls' engine and Win32 file
// system, one thread and two, then tests and extracts the archive, and prints each run's time
// split by kind of file-system call; what is left is the engine's own work (deflate or
// inflate, CRC, names, bookkeeping). Checks that both archives are byte for byte the same.
// Usage: toolkit_phases CORPUS WORKDIR   (WORKDIR exists and is empty)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/toolkit/timed_file_system_win.h"
#include "toolkit/zipcore/entry_name.h"
#include "toolkit/zipcore/unzip_engine.h"
#include "toolkit/zipcore/zip_engine.h"
#include "toolkit/zipcore/zip_reader.h"

namespace {

void PrintBreakdown(const char* title, const phases::Tally& tally, double total, unsigned events)
{
    std::printf("%s: %.3f s\n", title, total);
    double files = 0;
    for (int thread = 0; thread < 2; ++thread) {
        for (int p = 0; p < phases::kPhaseCount; ++p) {
            const auto phase = static_cast<phases::Phase>(p);
            if (tally.calls[thread][p] == 0) continue;
            const double seconds = tally.Seconds(thread, phase);
            if (thread == 0) files += seconds;
            std::printf("  %-26s %-7s %7u calls %8.3f s %5.1f %%\n", phases::PhaseName(phase),
                        thread == 0 ? "" : "(ahead)", unsigned(tally.calls[thread][p]), seconds,
                        100 * seconds / total);
        }
    }
    std::printf("  %-34s %7u calls\n", "events", events);
    std::printf("  %-34s %15.3f s %5.1f %%\n", "engine's own work (the rest)", total - files,
                100 * (total - files) / total);
}

double Compress(const std::string& archive, bool twoThreads, phases::Tally& tally, unsigned& events)
{
    phases::TimedFileSystem fs(tally, twoThreads);
    phases::CountedEvents counted;
    zipcore::ZipAddOptions o;
    o.archivePath = archive;
    o.itemList = "*";
    o.recurse = true;
    o.level = 6;
    const int64_t t0 = phases::Ticks();
    const zipcore::ZipAddOutcome out = zipcore::runZipAdd(fs, o, counted);
    const double seconds = phases::TicksToSeconds(phases::Ticks() - t0);
    events = counted.calls;
    return out.code == zipcore::ZipResult::Ok ? seconds : -1;
}

double Extract(const std::string& archive, const std::string& dest, bool test, phases::Tally& tally,
               unsigned& events)
{
    phases::TimedFileSystem fs(tally, false);
    phases::CountedEvents counted;
    zipcore::UnzipOptions o;
    o.archivePath = archive;
    o.destination = dest;
    o.overwrite = true;
    o.recurse = true;
    o.test = test;
    const int64_t t0 = phases::Ticks();
    const zipcore::UnzipOutcome out = zipcore::runUnzip(fs, zipcore::UnzipAction::Extract, o, counted);
    const double seconds = phases::TicksToSeconds(phases::Ticks() - t0);
    events = counted.calls;
    return out.code == zipcore::ZipResult::Ok ? seconds : -1;
}

// Name checks are pure computation: timed over every name of the archive, many times over.
double NameChecks(const std::string& archive, size_t& names)
{
    vxfs::Win32FileSystem fs;
    zipcore::ZipArchive zip;
    if (zip.open(fs, archive) != zipcore::ZipResult::Ok) return -1;
    names = zip.entries().size();
    constexpr int kRepeats = 20;
    std::vector<std::string> parts;
    const int64_t t0 = phases::Ticks();
    for (int i = 0; i < kRepeats; ++i)
        for (const zipcore::ZipEntry& e : zip.entries()) zipcore::safeRelativeParts(e.name, parts);
    return phases::TicksToSeconds(phases::Ticks() - t0) / kRepeats;
}

bool SameBytes(const std::string& a, const std::string& b)
{
    vxfs::Win32FileSystem fs;
    auto fa = fs.openRead(a), fb = fs.openRead(b);
    if (!fa || !fb || fa->size() != fb->size()) return false;
    std::vector<char> ba(1 << 20), bb(1 << 20);
    for (;;) {
        size_t ga = 0, gb = 0;
        if (!fa->read(ba.data(), ba.size(), ga) || !fb->read(bb.data(), bb.size(), gb) || ga != gb) return false;
        if (ga == 0) return true;
        if (std::memcmp(ba.data(), bb.data(), ga) != 0) return false;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: toolkit_phases CORPUS WORKDIR\n");
        return 2;
    }
    const std::string work = argv[2];
    const std::string one = work + "\\one.zip", two = work + "\\two.zip";
    SetCurrentDirectoryA(argv[1]);

    phases::Tally zip1, zip2, test, unzip;
    unsigned events1 = 0, events2 = 0, eventsTest = 0, eventsUnzip = 0;
    const double seconds1 = Compress(one, false, zip1, events1);
    const double seconds2 = Compress(two, true, zip2, events2);
    const double secondsTest = Extract(one, "", true, test, eventsTest);
    const double secondsUnzip = Extract(one, work + "\\out", false, unzip, eventsUnzip);
    size_t names = 0;
    const double secondsNames = NameChecks(one, names);
    if (seconds1 < 0 || seconds2 < 0 || secondsTest < 0 || secondsUnzip < 0 || secondsNames < 0) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    const bool same = SameBytes(one, two);
    PrintBreakdown("compression, one thread", zip1, seconds1, events1);
    PrintBreakdown("compression, two threads", zip2, seconds2, events2);
    PrintBreakdown("test (read and inflate, no writing)", test, secondsTest, eventsTest);
    PrintBreakdown("extraction", unzip, secondsUnzip, eventsUnzip);
    std::printf("name checks of %u names: %.4f s\n", unsigned(names), secondsNames);
    std::printf("archives of one and two threads %s\n", same ? "identical" : "DIFFER");
    return same ? 0 : 1;
}
