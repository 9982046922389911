// Times compression jobs of the same size started together in one corvane
// and prints how much faster N jobs finish than N times one job; then ten
// extractions of one archive into one folder, together and one at a time.
// Usage: corvane_bench INPUTFILE OUTFOLDER ARCHIVE
#include "corvane/resource.h"
#include "tests/corvane/corvane_session_win.h"

#include <cstdio>
#include <set>
#include <string>

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// Wall time of `jobs` compressions of `input`, started as fast as the dialog
// allows and timed until the last status dialog has closed; < 0 on failure.
double TimeJobs(int jobs, const std::string& input, const std::string& out)
{
    corvane_e2e::Session s;
    if (!s.Main())
        return -1;
    s.SetText(IDC_ITEM_LIST, input);
    s.SetChecked(IDC_ZIP_RECURSE, false);
    std::set<HWND> dialogs;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int n = 0; n < jobs; ++n) {
        const std::string archive = out + "\\bench" + std::to_string(jobs) + "_" + std::to_string(n) + ".zip";
        DeleteFileA(archive.c_str());
        s.SetText(IDC_ZIP_FILENAME, archive);
        if (!s.Click(IDC_NEW_ZIP_THREAD))
            return -1;
        HWND dialog = s.WaitForNewWindow("Zipping", dialogs, 30000);
        if (!dialog)
            return -1;
        dialogs.insert(dialog);
    }
    if (!s.WaitUntilNoWindow("Zipping", 600000) || s.AnyMessageBox())
        return -1;
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

// Wall time of ten extractions of `archive` into one folder: started together,
// or each after the one before has ended; < 0 on failure.
double TimeExtractions(bool together, const std::string& archive, const std::string& out)
{
    constexpr int kJobs = 10;
    corvane_e2e::Session s;
    if (!s.Main())
        return -1;
    s.SetText(IDC_UNZIP_FILENAME, archive);
    s.SetText(IDC_FILE_SPEC, "*.*");
    s.SetText(IDC_DESTINATION, out + (together ? "\\together" : "\\in-turn"));
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int n = 0; n < kJobs; ++n) {
        const bool started = together ? s.Click(IDC_NEW_UNZIP_THREAD) : s.RunOneJob(IDC_NEW_UNZIP_THREAD, "UnZipping");
        if (!started)
            return -1;
    }
    if (!s.WaitUntilNoWindow("UnZipping", 600000) || s.AnyMessageBox())
        return -1;
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: corvane_bench INPUTFILE OUTFOLDER ARCHIVE\n");
        return 2;
    }
    if (!corvane_e2e::RegisterControls()) {
        std::fprintf(stderr, "cannot register the controls\n");
        return 1;
    }
    const std::string input = argv[1], out = argv[2];
    const double one = TimeJobs(1, input, out);
    if (one <= 0)
        return 1;
    std::printf("1 job:  %.2f s\n", one);
    for (int jobs : {2, 4}) {
        const double t = TimeJobs(jobs, input, out);
        if (t <= 0)
            return 1;
        std::printf("%d jobs: %.2f s, speed-up over one job at a time: %.2f\n", jobs, t, jobs * one / t);
    }
    const double inTurn = TimeExtractions(false, argv[3], out);
    const double together = TimeExtractions(true, argv[3], out);
    if (inTurn <= 0 || together <= 0)
        return 1;
    std::printf("10 extractions into one folder: one at a time %.2f s, together %.2f s, speed-up %.2f\n", inTurn,
                together, inTurn / together);
    return 0;
}
