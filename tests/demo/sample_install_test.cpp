// The sample installation's texts, read back by the uninstaller's own log
// reader and command-line scanner.
#include "installer/sample/sample_install.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "skerrit/startup/command_line.h"
#include "skerrit/removal/install_log.h"

namespace {

SampleOptions Options() {
    SampleOptions options;
    options.product = "Demo Product";
    options.version = "2.5";
    options.group = "Demo Group";
    options.install_folder = "C:\\Program Files\\Demo Product";
    options.shared_folder = "C:\\Program Files\\Common Files\\Varnex";
    return options;
}

std::vector<std::string> Sorted(std::vector<std::string> items) {
    std::sort(items.begin(), items.end(),
              [](const std::string& a, const std::string& b) { return CompareAsciiNoCase(a.c_str(), b.c_str()) < 0; });
    return items;
}

LogReview ReadBack(const std::string& log, const std::set<std::string>& existing) {
    LogSources sources;
    sources.read_log = [&](LogLineSplitter& splitter) { splitter.Feed(log); };
    sources.file_exists = [&](const std::string& path) { return existing.count(path) > 0; };
    return ReviewInstallLog(sources);
}

TEST(SampleCommandLine, SwitchesTrimmedAndDefaultsKept) {
    SampleOptions options;
    std::string error;
    ASSERT_TRUE(ParseSampleCommandLine(" /n  My Tool  /d D:\\Apps\\Tool\\ /t", options, error)) << error;
    EXPECT_EQ(options.product, "My Tool");
    EXPECT_EQ(options.install_folder, "D:\\Apps\\Tool");
    EXPECT_TRUE(options.register_controls);
    EXPECT_EQ(options.version, "1.00");
    EXPECT_EQ(options.group, "Varnex-AX Sample");
    EXPECT_TRUE(options.shared_folder.empty());
}

TEST(SampleCommandLine, OverlongFolderIsRefusedNotCut) {
    SampleOptions options;
    std::string error;
    EXPECT_FALSE(ParseSampleCommandLine("/D C:\\" + std::string(300, 'x') + " /N a", options, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(options.install_folder.empty());
}

TEST(SampleLog, ReviewListsEveryInstalledFileAndShortcut) {
    const SampleOptions options = Options();
    const SamplePlan plan = PlanSampleInstall(options);
    ASSERT_EQ(CheckSamplePlan(options, plan), "");
    std::set<std::string> existing;
    for (const PayloadFile& file : plan.files) existing.insert(file.target);

    const LogReview review = ReadBack(InstallLogText(options, plan), existing);
    EXPECT_EQ(review.custom_group, "Demo Group");
    EXPECT_EQ(review.items, Sorted(ExpectedReviewItems(options, plan)));
    EXPECT_NE(std::find(review.items.begin(), review.items.end(),
                        "C:\\Program Files\\Demo Product\\VXSAMPLE.gid"),
              review.items.end())
        << "the help index is found through the help file";
    EXPECT_NE(std::find(review.items.begin(), review.items.end(), "[Shortcut] <Desktop>\\Demo Product"),
              review.items.end());
}

TEST(SampleLog, RemovalOrderTakesTheSubfolderFirstAndResolvesShortcutFolders) {
    const SampleOptions options = Options();
    const SamplePlan plan = PlanSampleInstall(options);
    std::set<std::string> existing;
    for (const PayloadFile& file : plan.files) existing.insert(file.target);
    const RemovalLists lists = BuildRemovalLists(ReadBack(InstallLogText(options, plan), existing).items);
    ASSERT_TRUE(lists.files.present);
    ASSERT_TRUE(lists.shortcuts.present);
    std::size_t cursor = 0;
    ListEntry entry;
    ASSERT_TRUE(NextListEntry(lists.files, cursor, entry));
    EXPECT_NE(entry.text.find("\\Samples\\"), std::string::npos) << entry.text;
    std::vector<std::string> shortcuts;
    cursor = 0;
    while (NextListEntry(lists.shortcuts, cursor, entry)) shortcuts.push_back(entry.text);
    EXPECT_EQ(Sorted(shortcuts), Sorted({"Demo Group\\Multi-Thread Archive Sample.lnk", "Demo Group\\Read Me.lnk",
                                         "Demo Group\\Unzip Test Bench.lnk", "<Desktop>\\Demo Product.lnk"}));
}

TEST(SampleLog, OnlyExistingFilesAreListed) {
    const SampleOptions options = Options();
    const SamplePlan plan = PlanSampleInstall(options);
    const LogReview review = ReadBack(InstallLogText(options, plan), {plan.uninstaller_path});
    // The installed uninstaller and the four shortcuts.
    EXPECT_EQ(review.items.size(), 5u);
}

TEST(SampleUninstaller, EntryRunSwitchesReadBackAsWritten) {
    SampleOptions options = Options();
    const SamplePlan plan = PlanSampleInstall(options);
    RunSettings settings;
    ParseCommandLine(UninstallerEntryArguments(options, plan, "C:\\TEMP\\TVS1\\TVRTP.INI"), settings);
    EXPECT_TRUE(settings.seen.I);
    EXPECT_EQ(settings.product_name, "Demo Product");
    EXPECT_EQ(settings.version, "2.5");
    EXPECT_EQ(settings.log_path, plan.log_path);
    EXPECT_EQ(settings.parameter_file, "C:\\TEMP\\TVS1\\TVRTP.INI");
    EXPECT_EQ(ExpectedUninstallString(options, plan),
              "\"C:\\Program Files\\Demo Product\\skerrit.exe\" /L C:\\Program Files\\Demo Product\\INSTALL.LOG"
              " /N Demo Product /Z 1");
}

TEST(SamplePlanCheck, RefusesTextsThatWouldSplitSwitchesOrLogLines) {
    const SampleOptions good = Options();
    EXPECT_EQ(CheckSamplePlan(good, PlanSampleInstall(good)), "");
    auto refused = [](SampleOptions options) { return !CheckSamplePlan(options, PlanSampleInstall(options)).empty(); };
    SampleOptions o = good;
    o.product = "Tool 1/2";  // would end /N early
    EXPECT_TRUE(refused(o));
    o = good;
    o.group = "My (Extracted) Group";
    EXPECT_TRUE(refused(o));
    o = good;
    o.group = "A;B";  // would shift the shortcut fields
    EXPECT_TRUE(refused(o));
    o = good;
    o.version = "<Exe>";
    EXPECT_TRUE(refused(o));
    o = good;
    o.product = "Sub\\Dir";
    EXPECT_TRUE(refused(o));
    o = good;
    o.install_folder = "Apps\\Tool";  // not below a drive
    EXPECT_TRUE(refused(o));
    o = good;
    o.install_folder = "C:\\" + std::string(240, 'p');  // files would not fit MAX_PATH
    EXPECT_TRUE(refused(o));
    o = good;
    o.group = std::string(240, 'g');  // "<group>\\Multi-Thread Archive Sample.lnk" would be cut
    EXPECT_TRUE(refused(o));
    o.group = std::string(200, 'g');
    EXPECT_FALSE(refused(o));
    o = good;
    o.product.clear();
    EXPECT_TRUE(refused(o));
}

TEST(SampleTexts, ParameterFileAndRegistrationList) {
    const SampleOptions options = Options();
    const SamplePlan plan = PlanSampleInstall(options);
    EXPECT_EQ(ParameterFileText("C:\\App", "C:\\TEMP\\TVS1"),
              "[TVRTP]\r\nExePath=C:\\App\r\nTempDir=C:\\TEMP\\TVS1\r\nCustomPath=C:\\App\r\n");
    EXPECT_EQ(RegisterListText(plan),
              "[REGISTER]\r\nREG1=<Exe>\\VXUNZIP.DLL\r\nREG2=<Exe>\\VXZIP.DLL\r\n"
              "REG3=C:\\Program Files\\Common Files\\Varnex\\VXSTATUS.DLL\r\n");
}

}  // namespace
