#include "installer/sample/sample_install.h"

#include "common/command_scan.h"
#include "common/trim_blanks.h"
#include "skerrit/removal/removal_paths.h"

namespace {

const char kExtractedMarker[] = " (Extracted)";
const char kGroupMarker[] = " (Custom Group Name)";
const char kShortcutMarker[] = " (Group Setup) (Succeeded)";

const SwitchRule kSampleSwitches[] = {
    {'N', true, kMaxSamplePath}, {'V', true, kMaxSamplePath}, {'G', true, kMaxSamplePath},
    {'D', true, kMaxSamplePath}, {'S', true, kMaxSamplePath}, {'T', false, 0},
};

std::string Join(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '\\') path += '\\';
    path += name;
    return path;
}

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

const char kReadme[] =
    "Varnex-AX sample programs\r\n"
    "\r\n"
    "corvane.exe  runs compression and extraction jobs side by side.\r\n"
    "ulmarsh.exe  sets the unzip control's properties and runs its functions.\r\n"
    "\r\n"
    "Remove the samples with Add/Remove Programs.\r\n";
const char kHelp[] = "Varnex-AX sample programs: help topics\r\n";
const char kHelpIndex[] = "Help index built on first use of the help file\r\n";
const char kZipNotes[] = "Compression jobs: pick a folder, an archive name and press Zip.\r\n";
const char kUnzipNotes[] = "Extraction jobs: pick an archive and a target folder and press Unzip.\r\n";

bool IsAbsoluteFolder(const std::string& path) {
    return path.size() > 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && path[2] == '\\';
}

// Text that would end a switch value, split a shortcut line, hide a macro or
// be read as a log marker of its own.
std::string UnsafeTextReason(std::string_view what, std::string_view text) {
    if (text.find_first_of("/<>;\"\r\n") != std::string_view::npos)
        return std::string(what) + " holds one of / < > ; \" or a line break";
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20) return std::string(what) + " holds a control character";
    }
    for (const char* marker : {kExtractedMarker, kGroupMarker, kShortcutMarker}) {
        if (text.find(marker + 1) != std::string_view::npos)
            return std::string(what) + " holds an installation-log marker";
    }
    return {};
}

}  // namespace

bool ParseSampleCommandLine(std::string_view command_tail, SampleOptions& options, std::string& error) {
    for (ScannedSwitch& s : ScanSwitches(command_tail, kSampleSwitches)) {
        if (s.cut) {
            error = std::string("the value of /") + s.letter + " is longer than " +
                    std::to_string(kMaxSamplePath) + " characters";
            return false;
        }
        TrimBlanks(s.value);
        switch (s.letter) {
            case 'N': options.product = s.value; break;
            case 'V': options.version = s.value; break;
            case 'G': options.group = s.value; break;
            case 'D': options.install_folder = WithoutTrailingBackslash(s.value); break;
            case 'S': options.shared_folder = WithoutTrailingBackslash(s.value); break;
            case 'T': options.register_controls = true; break;
            default: break;
        }
    }
    return true;
}

SamplePlan PlanSampleInstall(const SampleOptions& options) {
    SamplePlan plan;
    const std::string& app = options.install_folder;
    const std::string samples = Join(app, "Samples");
    plan.folders = {app, samples, options.shared_folder};
    plan.uninstaller_path = Join(app, "skerrit.exe");
    plan.log_path = Join(app, "INSTALL.LOG");

    auto copy = [&](const std::string& folder, const char* name) {
        PayloadFile file;
        file.target = Join(folder, name);
        file.source_name = name;
        return file;
    };
    auto make = [&](const std::string& folder, const char* name, const char* content) {
        PayloadFile file;
        file.target = Join(folder, name);
        file.content = content;
        return file;
    };
    plan.files.push_back(copy(app, "skerrit.exe"));
    plan.files.push_back(copy(app, "corvane.exe"));
    plan.files.push_back(copy(app, "ulmarsh.exe"));
    plan.files.push_back(copy(app, "VXUNZIP.DLL"));
    plan.files.push_back(copy(app, "VXZIP.DLL"));
    plan.files.push_back(make(app, "README.TXT", kReadme));
    plan.files.push_back(make(app, "VXSAMPLE.HLP", kHelp));
    plan.files.push_back(make(samples, "ZIPJOBS.TXT", kZipNotes));
    plan.files.push_back(make(samples, "UNZIPJOB.TXT", kUnzipNotes));
    PayloadFile shared = copy(options.shared_folder, "VXSTATUS.DLL");
    shared.shared = true;
    plan.files.push_back(shared);
    PayloadFile index = make(app, "VXSAMPLE.gid", kHelpIndex);
    index.logged = false;
    plan.files.push_back(index);

    plan.shortcuts = {
        {ShortcutPlace::ProgramGroup, "Multi-Thread Archive Sample", Join(app, "corvane.exe")},
        {ShortcutPlace::ProgramGroup, "Unzip Test Bench", Join(app, "ulmarsh.exe")},
        {ShortcutPlace::ProgramGroup, "Read Me", Join(app, "README.TXT")},
        {ShortcutPlace::Desktop, options.product, Join(app, "ulmarsh.exe")},
    };
    return plan;
}

std::string CheckSamplePlan(const SampleOptions& options, const SamplePlan& plan) {
    if (options.product.empty()) return "the product name is empty";
    if (options.group.empty()) return "the program group name is empty";
    if (!IsAbsoluteFolder(options.install_folder)) return "the install folder is not a full path below a drive";
    if (!IsAbsoluteFolder(options.shared_folder)) return "the shared folder is not a full path below a drive";
    const std::pair<const char*, const std::string*> texts[] = {
        {"the product name", &options.product},      {"the version", &options.version},
        {"the program group name", &options.group},  {"the install folder", &options.install_folder},
        {"the shared folder", &options.shared_folder},
    };
    for (const auto& [what, text] : texts) {
        std::string reason = UnsafeTextReason(what, *text);
        if (!reason.empty()) return reason;
    }
    // Both name a folder or a file of their own.
    for (const std::string* name : {&options.product, &options.group}) {
        if (name->find_first_of("\\:*?|") != std::string::npos)
            return "a product or group name holds one of \\ : * ? |";
    }
    // The uninstaller removes plain full paths and plain group names only; anything else
    // would be left behind.
    if (!IsPlainShortcutPart(options.group)) return "the program group name is not a plain folder name";
    for (const PayloadFile& file : plan.files) {
        if (file.target.size() > kMaxSamplePath) return file.target + " is longer than a path can be";
        if (!IsFullyQualifiedPath(file.target)) return file.target + " is not a plain full path";
    }
    if (plan.log_path.size() > kMaxSamplePath) return "the log path is too long";
    // The uninstaller's shortcut entry: the expanded folder, the name, ".lnk".
    for (const ShortcutSpec& shortcut : plan.shortcuts) {
        const std::string folder =
            shortcut.place == ShortcutPlace::Desktop ? std::string(ShortcutFolderMacro(shortcut.place)) : options.group;
        if (folder.size() + 1 + shortcut.name.size() + 4 > kMaxSamplePath)
            return "the shortcut " + shortcut.name + " has too long a name";
    }
    std::string log = InstallLogText(options, plan);
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        if (end - start > kMaxSampleLogLine + 1) return "an installation-log line is too long";
        start = end + 1;
    }
    return {};
}

std::string_view ShortcutFolderMacro(ShortcutPlace place) {
    return place == ShortcutPlace::Desktop ? "<Desktop>" : "<CGroup>";
}

std::string InstallLogText(const SampleOptions& options, const SamplePlan& plan) {
    std::string log = "Tavrin installation log\r\n";
    log += "Product: " + options.product + " " + options.version + "\r\n";
    log += options.group + kGroupMarker + "\r\n";
    for (const std::string& folder : plan.folders) log += "Folder: " + folder + "\r\n";
    for (const PayloadFile& file : plan.files) {
        if (file.logged) log += file.target + kExtractedMarker + "\r\n";
    }
    // Fields: folder; target; working folder; name; show command.
    for (const ShortcutSpec& shortcut : plan.shortcuts) {
        const std::size_t slash = shortcut.target.rfind('\\');
        const std::string work = shortcut.target.substr(0, slash == std::string::npos ? 0 : slash);
        log += std::string(ShortcutFolderMacro(shortcut.place)) + ";" + shortcut.target + ";" + work + ";" +
               shortcut.name + ";1" + kShortcutMarker + "\r\n";
    }
    log += "Installation complete\r\n";
    return log;
}

std::string ParameterFileText(const std::string& install_folder, const std::string& temp_dir) {
    return "[TVRTP]\r\nExePath=" + install_folder + "\r\nTempDir=" + temp_dir + "\r\nCustomPath=" +
           install_folder + "\r\n";
}

std::string RegisterListText(const SamplePlan& plan) {
    std::string list = "[REGISTER]\r\n";
    int n = 0;
    for (const PayloadFile& file : plan.files) {
        const std::size_t dot = file.target.rfind('.');
        if (dot == std::string::npos || file.target.compare(dot, std::string::npos, ".DLL") != 0) continue;
        const std::string name = file.target.substr(file.target.rfind('\\') + 1);
        const std::string value = file.shared ? file.target : "<Exe>\\" + name;
        list += "REG" + std::to_string(++n) + "=" + value + "\r\n";
    }
    return list;
}

std::string UninstallerEntryArguments(const SampleOptions& options, const SamplePlan& plan,
                                      const std::string& parameter_file) {
    return "/I /N " + options.product + " /V " + options.version + " /L " + plan.log_path + " /R " +
           parameter_file;
}

std::string ExpectedUninstallString(const SampleOptions& options, const SamplePlan& plan) {
    return "\"" + plan.uninstaller_path + "\" /L " + plan.log_path + " /N " + options.product + " /Z 1";
}

std::vector<std::string> ExpectedReviewItems(const SampleOptions& options, const SamplePlan& plan) {
    std::vector<std::string> items;
    for (const PayloadFile& file : plan.files) items.push_back(file.target);
    for (const ShortcutSpec& shortcut : plan.shortcuts) {
        const std::string folder =
            shortcut.place == ShortcutPlace::Desktop ? std::string("<Desktop>") : options.group;
        items.push_back("[Shortcut] " + folder + "\\" + shortcut.name);
    }
    return items;
}
