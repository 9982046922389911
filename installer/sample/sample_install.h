#pragma once
// The sample installation: what it puts on the machine, and the installation
// log, parameter file, registration list and uninstaller command line it
// writes for skerrit and tolvane. Portable: the Win32 side does the effects.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Paths the uninstaller and the registration program keep in MAX_PATH buffers.
constexpr std::size_t kMaxSamplePath = 259;
// The uninstaller reads log lines of at most this many characters.
constexpr std::size_t kMaxSampleLogLine = 511;

struct SampleOptions {
    std::string product = "Varnex-AX Sample";
    std::string version = "1.00";
    std::string group = "Varnex-AX Sample";  // program group in the Start menu
    std::string install_folder;              // empty: the Program Files default
    std::string shared_folder;               // empty: the Common Files default
    bool register_controls = false;          // run tolvane on the control DLLs
};

// Switches /N product, /V version, /G group, /D install folder, /S shared
// folder, /T (register the controls). False, with a reason, when a value was
// longer than a path buffer holds: a cut folder would install elsewhere.
bool ParseSampleCommandLine(std::string_view command_tail, SampleOptions& options,
                            std::string& error);

struct PayloadFile {
    std::string target;       // full path
    std::string source_name;  // file beside the tool to copy; empty: `content`
    std::string content;
    bool logged = true;  // false: made on the machine later (help index)
    bool shared = false;  // counted under the shared-files key
};

enum class ShortcutPlace { ProgramGroup, Desktop };

struct ShortcutSpec {
    ShortcutPlace place = ShortcutPlace::ProgramGroup;
    std::string name;    // without ".lnk"
    std::string target;  // full path
};

struct SamplePlan {
    std::vector<std::string> folders;  // made in this order
    std::vector<PayloadFile> files;
    std::vector<ShortcutSpec> shortcuts;
    std::string log_path;
    std::string uninstaller_path;  // the installed skerrit.exe
};

// Needs both folders of `options` filled in.
SamplePlan PlanSampleInstall(const SampleOptions& options);

// Empty when the options and plan are safe to install; else the reason. Texts
// must not hold what would split or misread a log line or a switch value
// (slash, angle brackets, semicolon, quote, line breaks, the log markers) and
// every path must fit the programs' buffers.
std::string CheckSamplePlan(const SampleOptions& options, const SamplePlan& plan);

// The folder text of a shortcut line: "<CGroup>" or "<Desktop>".
std::string_view ShortcutFolderMacro(ShortcutPlace place);

std::string InstallLogText(const SampleOptions& options, const SamplePlan& plan);
// Section TVRTP with ExePath, TempDir and CustomPath.
std::string ParameterFileText(const std::string& install_folder, const std::string& temp_dir);
// Section REGISTER: the two controls in the program folder (through <Exe>)
// and the shared status control by its full path.
std::string RegisterListText(const SamplePlan& plan);
// "/I /N product /V version /L log /R params": skerrit's uninstall-entry run.
std::string UninstallerEntryArguments(const SampleOptions& options, const SamplePlan& plan,
                                      const std::string& parameter_file);
// The UninstallString skerrit writes for this installation.
std::string ExpectedUninstallString(const SampleOptions& options, const SamplePlan& plan);

// What the uninstaller's review lists for this installation, in any order:
// every logged file, the help index beside the help file, and
// "[Shortcut] " + folder + "\" + name for each shortcut (group name resolved,
// the desktop's name kept as the uninstaller keeps it).
std::vector<std::string> ExpectedReviewItems(const SampleOptions& options, const SamplePlan& plan);
