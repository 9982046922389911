// The sample installation's command line; an accepted plan must give a log
// that the uninstaller reads back with the chosen group and every item.
#include <cstddef>
#include <cstdint>
#include <string>

#include "installer/sample/sample_install.h"
#include "skerrit/removal/install_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SampleOptions options;
    options.install_folder = "C:\\App";
    options.shared_folder = "C:\\Shared";
    std::string error;
    if (!ParseSampleCommandLine(text, options, error)) return 0;
    const SamplePlan plan = PlanSampleInstall(options);
    if (!CheckSamplePlan(options, plan).empty()) return 0;
    const std::string log = InstallLogText(options, plan);
    LogSources sources;
    sources.read_log = [&](LogLineSplitter& splitter) { splitter.Feed(log); };
    sources.file_exists = [](const std::string&) { return true; };
    const LogReview review = ReviewInstallLog(sources);
    if (review.custom_group != options.group) __builtin_trap();
    if (review.items.size() > ExpectedReviewItems(options, plan).size()) __builtin_trap();
    return 0;
}
