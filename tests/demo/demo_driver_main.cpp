// The demo's driver: installs the sample product with tvsample, uninstalls it
// through the UninstallString of its entry as program removal does, then
// installs a second sample and uninstalls it through its QuietUninstallString
// as a deployment tool does, and writes a report of what was removed and what
// is left.
//
//   demo_driver demo REPORT         drives every dialog itself
//   demo_driver demo REPORT watch   the user drives the dialogs
//   demo_driver docs REPORT         also a cancelled run and the error dialog
//
// Screenshots go to SUITE_SCREENSHOT_DIR when it is set.
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "installer/sample/sample_install_win.h"
#include "tests/demo/sample_session_win.h"
#include "tests/driver/window_watch.h"
#include "tests/skerrit/skerrit_e2e_support_win.h"

using namespace sample_session;

namespace {

HANDLE g_report = INVALID_HANDLE_VALUE;

void Say(const char* format, ...) {
    char line[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    std::string text = std::string(line) + "\r\n";
    DWORD written = 0;
    WriteFile(g_report, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

struct Run {
    bool watch = false;
    bool docs = false;
    int shot_number = 0;
    DWORD short_wait() const { return watch ? 600000 : 30000; }
    void Shot(const char* kind, HWND window) {
        Sleep(400);  // let the dialog finish painting
        char name[64];
        if (docs)
            std::snprintf(name, sizeof(name), "skerrit-%s", kind);
        else
            std::snprintf(name, sizeof(name), "%02d-%s", ++shot_number, kind);
        e2e::ScreenshotIfRequested(name, window);
    }
};

std::string ProcessImage(const e2e::Process& process) {
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameA(process.handle(), 0, path, &size)) return {};
    return std::string(path, size);
}

bool Install(Run& run, SampleOptions options) {
    Say("== Installing %s %s: tvsample %s", options.product.c_str(), options.version.c_str(),
        SampleArguments(options).c_str());
    e2e::Process install = StartSampleInstall(options, g_report);
    if (!install.valid()) {
        Say("tvsample cannot be started");
        return false;
    }
    if (options.register_controls && !run.watch)
        Say(AcceptRegistration(60000) ? "(demo: pressed OK in tolvane's confirmation)"
                                      : "(demo: tolvane's confirmation did not show)");
    DWORD code = 99;
    if (!install.Wait(run.watch ? INFINITE : 120000, &code)) {
        Say("tvsample did not end");
        return false;
    }
    Say("tvsample ended with %lu", code);
    return code == 0;
}

// Returns how many of the files, shortcuts, folders, log and entry are there.
int ReportPlaced(const SampleOptions& options, const SamplePlan& plan, bool after_uninstall) {
    int present = 0;
    for (const InstalledThing& thing : InstalledThings(options, plan)) {
        const bool there = e2e::FileExists(thing.path);
        present += there;
        Say("  %-8s %-9s %s", thing.what.c_str(),
            after_uninstall ? (there ? "LEFT" : "removed") : (there ? "present" : "MISSING"), thing.path.c_str());
    }
    const std::string link = ShortcutLinkPath(options, plan.shortcuts.front());
    const std::pair<const char*, std::string> folders[] = {
        {"program folder", options.install_folder},
        {"shared folder", options.shared_folder},
        {"program group", link.substr(0, link.find_last_of('\\'))},
    };
    for (const auto& [what, folder] : folders) {
        const bool there = e2e::FolderExists(folder);
        present += there;
        Say("  %-8s %-9s %s (%s)", "folder",
            after_uninstall ? (there ? "LEFT" : "removed") : (there ? "present" : "MISSING"), folder.c_str(), what);
    }
    Say("  log      %-9s %s", e2e::FileExists(plan.log_path) ? (after_uninstall ? "LEFT" : "present") : "gone",
        plan.log_path.c_str());
    present += e2e::FileExists(plan.log_path);
    const std::string command = UninstallString(options.product);
    present += !command.empty();
    if (command.empty())
        Say("  registry entry Uninstall\\%s: %s", options.product.c_str(), after_uninstall ? "removed" : "MISSING");
    else
        Say("  registry entry Uninstall\\%s: UninstallString=%s", options.product.c_str(), command.c_str());
    const std::string shared = options.shared_folder + "\\VXSTATUS.DLL";
    Say("  shared-file count of %s: %lu", shared.c_str(), SharedCount(shared));
    return present;
}

// Continue on the welcome dialog (after a look at the About box) up to the review.
HWND ReachReview(Run& run, Uninstaller& uninstaller) {
    if (run.watch) return nullptr;
    run.Shot("welcome", uninstaller.main);
    e2e::PostSystemCommand(uninstaller.main, kAboutCommand);
    if (HWND about = WaitForDialog(uninstaller, kAboutTitle, 10000)) {
        run.Shot("about", about);
        Say("(demo: opened About from the system menu, then OK)");
        e2e::ClickButton(about, IDOK);
        e2e::WaitForWindowGone(about);
    }
    Say("(demo: pressed Continue)");
    e2e::ClickButton(uninstaller.welcome, IDOK);
    return WaitForDialog(uninstaller, kReviewTitle);
}

// Remove on the review, then the shared-file question. Returns the question,
// with the removal dialog beside it.
HWND RemoveUpToSharedQuestion(Run& run, Uninstaller& uninstaller, HWND review) {
    const std::vector<std::string> items = e2e::ListBoxItems(review, kReviewList);
    Say("The review lists %u items:", static_cast<unsigned>(items.size()));
    for (const std::string& item : items) Say("  %s", item.c_str());
    run.Shot("review", review);
    Say("(demo: pressed Remove)");
    e2e::ClickButton(review, IDOK);
    HWND question = WaitForDialog(uninstaller, kSharedTitle, run.short_wait());
    if (question == nullptr) return nullptr;
    HWND removal = WaitForDialog(uninstaller, kRemovalTitle, 2000);
    if (removal != nullptr) {
        RECT below = {};
        GetWindowRect(removal, &below);
        SetWindowPos(question, nullptr, below.left, below.bottom + 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        run.Shot("removal", removal);
        Say("Removal in progress at: %s", e2e::ControlText(removal, kPathLine).c_str());
    }
    run.Shot("shared", question);
    Say("Shared-file question for: %s", e2e::ControlText(question, kSharedPath).c_str());
    return question;
}

bool Uninstall(Run& run, const SampleOptions& options) {
    const std::string command = UninstallString(options.product);
    if (command.empty()) {
        Say("no uninstall entry");
        return false;
    }
    Say("== Uninstalling as program removal does: %s", command.c_str());
    e2e::Process launcher = StartCommandLine(command);
    Uninstaller uninstaller = WaitForUninstaller(launcher.pid(), run.short_wait());
    if (uninstaller.main == nullptr || !uninstaller.process.valid()) {
        Say("the uninstaller's window did not show");
        return false;
    }
    DWORD launcher_code = 99;
    launcher.Wait(10000, &launcher_code);
    const std::string copy = ProcessImage(uninstaller.process);
    Say("%s started its temporary copy %s and ended with %lu", command.c_str(), copy.c_str(), launcher_code);

    if (HWND review = ReachReview(run, uninstaller)) {
        if (HWND question = RemoveUpToSharedQuestion(run, uninstaller, review)) {
            Say("(demo: pressed OK: remove the shared file)");
            e2e::ClickButton(question, IDOK);
        }
        if (HWND restart = WaitForDialog(uninstaller, kRestartTitle, run.short_wait())) {
            run.Shot("restart", restart);
            e2e::SetChecked(restart, kRestartNow, false);
            e2e::SetChecked(restart, kRestartLater, true);
            Say("(demo: chose Restart Later and pressed OK)");
            e2e::ClickButton(restart, IDOK);
        }
    }
    DWORD code = 99;
    if (!uninstaller.process.Wait(run.watch ? INFINITE : 30000, &code)) {
        Say("the uninstaller did not end");
        return false;
    }
    Say("The uninstaller ended with exit status %lu (its entry's command line names no parameter file, so no"
        " ExitCode is written).",
        code);
    if (!copy.empty())
        Say("Its temporary copy %s: %s", copy.c_str(),
            !e2e::FileExists(copy) ? "gone"
            : PendingDeletion(copy) ? "still there, deleted at the next restart"
                                    : "still there");
    return true;
}

// The silent removal, as a deployment tool runs it: the entry's
// QuietUninstallString, the result read from the exit status, and a watch on
// the screen for any window meanwhile.
bool QuietUninstall(const SampleOptions& options) {
    const std::string command = QuietUninstallString(options.product);
    if (command.empty()) {
        Say("no QuietUninstallString in the entry");
        return false;
    }
    Say("== Uninstalling silently as a deployment tool does: %s", command.c_str());
    const std::vector<std::string> copies_before = skerrit_e2e::TempCopies();
    e2e::WindowWatch watch;
    e2e::Process launcher = StartCommandLine(command);
    DWORD code = 99;
    if (!launcher.valid() || !launcher.Wait(120000, &code)) {
        Say("the silent uninstall did not end");
        return false;
    }
    const std::vector<std::string> shown = watch.Stop();
    Say("It ended with exit status %lu (0: success, 3010: success with a restart needed, 1603: failure); "
        "windows shown meanwhile: %u",
        code, static_cast<unsigned>(shown.size()));
    for (const std::string& window : shown) Say("  %s", window.c_str());
    for (const std::string& copy : skerrit_e2e::TempCopies()) {
        if (std::find(copies_before.begin(), copies_before.end(), copy) != copies_before.end()) continue;
        Say("Its temporary copy %s is left: %s", copy.c_str(),
            PendingDeletion(copy) ? "deleted at the next restart" : "not scheduled for deletion");
    }
    return code == 0 && shown.empty();
}

// A second installation, cancelled during the removal, and the error dialog
// of a run whose log is missing.
void DocsExtras(Run& run, const SampleOptions& options, const SamplePlan& plan) {
    if (!Install(run, options)) return;
    e2e::Process launcher = StartCommandLine(UninstallString(options.product));
    Uninstaller uninstaller = WaitForUninstaller(launcher.pid(), 30000);
    if (uninstaller.welcome == nullptr) return;
    e2e::ClickButton(uninstaller.welcome, IDOK);
    HWND review = WaitForDialog(uninstaller, kReviewTitle);
    if (review == nullptr) return;
    e2e::ClickButton(review, IDOK);
    HWND question = WaitForDialog(uninstaller, kSharedTitle, 30000);
    HWND removal = WaitForDialog(uninstaller, kRemovalTitle, 5000);
    if (question == nullptr || removal == nullptr) return;
    e2e::ClickButton(removal, IDCANCEL);
    e2e::ClickButton(question, IDOK);
    if (HWND cancelled = WaitForDialog(uninstaller, kCancelledTitle, 15000)) {
        run.Shot("cancelled", cancelled);
        Say("Cancelled during the removal: %s", e2e::ControlText(cancelled, 1002).c_str());
        e2e::ClickButton(cancelled, IDOK);
    }
    uninstaller.process.Wait(15000);

    // The cancel left the installed uninstaller; its log is gone now.
    e2e::Process error_launcher =
        e2e::Start(plan.uninstaller_path, "/L " + plan.log_path + " /N " + options.product);
    Uninstaller error_run = WaitForUninstaller(error_launcher.pid(), 30000);
    if (error_run.welcome == nullptr) return;
    e2e::ClickButton(error_run.welcome, IDOK);
    if (HWND error = WaitForDialog(error_run, kErrorTitle, 15000)) {
        run.Shot("error", error);
        Say("Without its log: %s", e2e::ControlText(error, 1002).c_str());
        e2e::ClickButton(error, IDOK);
    }
    error_run.process.Wait(15000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: demo_driver demo|docs REPORT [watch]\n");
        return 2;
    }
    Run run;
    run.docs = std::string(argv[1]) == "docs";
    run.watch = argc > 3 && std::string(argv[3]) == "watch";
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    g_report = CreateFileA(argv[2], GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (g_report == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "demo_driver: cannot write %s\n", argv[2]);
        return 2;
    }
    SampleOptions options;
    options.register_controls = true;
    FillDefaultFolders(options);
    const SamplePlan plan = PlanSampleInstall(options);

    bool ok = Install(run, options);
    if (ok) {
        Say("What the installation put in place:");
        ReportPlaced(options, plan, false);
        ok = Uninstall(run, options);
        Say("== After the uninstall:");
        const int left = ReportPlaced(options, plan, true);
        Say("Left of what the installation put in place: %d item(s)%s", left,
            left == 0 ? "; the shared-file count stays, as the uninstaller never changes it" : "");
        ok = ok && (run.watch || left == 0);
    }
    if (ok && run.docs) {
        options.register_controls = false;
        DocsExtras(run, options, plan);
    } else if (ok) {
        SampleOptions second;
        second.product = "Varnex-AX Sample Two";
        second.version = "1.10";
        second.group = "Varnex-AX Sample Two";
        FillDefaultFolders(second);
        const SamplePlan second_plan = PlanSampleInstall(second);
        ok = Install(run, second);
        if (ok) {
            ok = QuietUninstall(second);
            Say("== After the silent uninstall:");
            const int left = ReportPlaced(second, second_plan, true);
            Say("Left of the second installation: %d item(s): the shared file and its folder, which a silent run"
                " never deletes",
                left);
            ok = ok && left == 2;
        }
    }
    CloseHandle(g_report);
    return ok ? 0 : 1;
}
