#include "installer/sample/sample_install_win.h"

#include <windows.h>
#include <shlobj.h>

#include "common/param_file_win.h"
#include "common/special_folder_win.h"
#include "installer/sample/sample_install_files_win.h"
#include "installer/sample/sample_install_link_win.h"
#include "installer/sample/sample_install_run_win.h"

namespace {

class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_;
};

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE)) return {};
    return path;
}

std::string ToolFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// A folder of the installer's own below the temporary folder.
std::string MakeInstallerTemp() {
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return {};
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        wsprintfA(name, "TVS%04lX", (GetCurrentProcessId() + attempt) & 0xFFFFUL);
        std::string folder = std::string(temp) + name;
        if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    }
    return {};
}

bool PlaceFiles(const SamplePlan& plan, const std::string& tool_folder, std::FILE* out) {
    for (const std::string& folder : plan.folders) {
        if (!MakeFolderPath(folder)) {
            std::fprintf(out, "cannot create the folder %s\n", folder.c_str());
            return false;
        }
    }
    for (const PayloadFile& file : plan.files) {
        const bool ok = file.source_name.empty()
                            ? WriteWholeFile(file.target, file.content)
                            : CopyFileA((tool_folder + file.source_name).c_str(), file.target.c_str(), FALSE) != 0;
        if (!ok) {
            std::fprintf(out, "cannot install %s\n", file.target.c_str());
            return false;
        }
        std::fprintf(out, "installed %s\n", file.target.c_str());
        if (file.shared) {
            const unsigned long count = AddSharedFileCount(file.target);
            if (count == 0) {
                std::fprintf(out, "cannot count %s as shared\n", file.target.c_str());
                return false;
            }
            std::fprintf(out, "shared-file count of %s: %lu\n", file.target.c_str(), count);
        }
    }
    return true;
}

bool PlaceShortcuts(const SampleOptions& options, const SamplePlan& plan, std::FILE* out) {
    ComApartment com;
    if (!com.ok()) return false;
    for (const ShortcutSpec& shortcut : plan.shortcuts) {
        const std::string link = ShortcutLinkPath(options, shortcut);
        const std::size_t slash = link.find_last_of('\\');
        const std::string work = shortcut.target.substr(0, shortcut.target.find_last_of('\\'));
        if (link.empty() || slash == std::string::npos || link.size() > kMaxSamplePath ||
            !MakeFolderPath(link.substr(0, slash)) ||
            !CreateShortcutFile(link, shortcut.target, work, shortcut.name)) {
            std::fprintf(out, "cannot create the shortcut %s\n", shortcut.name.c_str());
            return false;
        }
        std::fprintf(out, "shortcut %s\n", link.c_str());
    }
    return true;
}

// Runs an installer-side program and reads the ExitCode it leaves.
std::string RunForExitCode(const std::string& exe, const std::string& arguments, const std::string& work,
                           const std::string& parameter_file) {
    WritePrivateProfileStringA("TVRTP", "ExitCode", nullptr, parameter_file.c_str());
    unsigned long status = 0;
    if (!RunAndWait(exe, arguments, work, &status)) return "(not started)";
    const std::string code = ReadParameterValue(parameter_file, "ExitCode");
    return code.empty() ? "(none)" : code;
}

bool RegisterControls(const SamplePlan& plan, const std::string& tool_folder, const std::string& temp,
                      const std::string& parameter_file, std::FILE* out) {
    const std::string list = temp + "\\REGISTER.INI";
    if (!WriteWholeFile(list, RegisterListText(plan))) return false;
    const std::string tolvane = tool_folder + "tolvane.exe";
    const std::string expanded = RunForExitCode(tolvane, "/I /F " + list + " /R " + parameter_file, temp,
                                                parameter_file);
    std::fprintf(out, "tolvane /I: ExitCode %s\n", expanded.c_str());
    if (expanded != "1") return false;
    const std::string registered = RunForExitCode(tolvane, "/O1 /F " + list + " /R " + parameter_file, temp,
                                                  parameter_file);
    std::fprintf(out, "tolvane /O1: ExitCode %s\n", registered.c_str());
    return registered == "1";
}

}  // namespace

void FillDefaultFolders(SampleOptions& options) {
    if (options.install_folder.empty()) {
        const std::string program_files = ShellFolder(CSIDL_PROGRAM_FILES);
        if (!program_files.empty()) options.install_folder = program_files + "\\" + options.product;
    }
    if (options.shared_folder.empty()) {
        const std::string common = ShellFolder(CSIDL_PROGRAM_FILES_COMMON);
        if (!common.empty()) options.shared_folder = common + "\\Varnex";
    }
}

std::string ShortcutLinkPath(const SampleOptions& options, const ShortcutSpec& shortcut) {
    const std::string folder = shortcut.place == ShortcutPlace::Desktop ? "<Desktop>" : options.group;
    return ResolveSpecialFolder(nullptr, (folder + "\\" + shortcut.name + ".lnk").c_str());
}

int RunSampleInstall(SampleOptions options, std::FILE* out) {
    FillDefaultFolders(options);
    const SamplePlan plan = PlanSampleInstall(options);
    std::string problem = CheckSamplePlan(options, plan);
    // Checked before anything is placed: a shortcut that cannot be made would
    // leave a half installation behind.
    for (const ShortcutSpec& shortcut : plan.shortcuts) {
        const std::string link = ShortcutLinkPath(options, shortcut);
        if (problem.empty() && (link.empty() || link.size() > kMaxSamplePath))
            problem = "the shortcut " + shortcut.name + " has no place of a path's length";
    }
    const std::string tool_folder = ToolFolder();
    if (!problem.empty() || tool_folder.empty()) {
        std::fprintf(out, "tvsample: %s\n", problem.empty() ? "cannot find its own folder" : problem.c_str());
        return 2;
    }
    std::fprintf(out, "Installing %s %s into %s\n", options.product.c_str(), options.version.c_str(),
                 options.install_folder.c_str());
    if (!PlaceFiles(plan, tool_folder, out) || !PlaceShortcuts(options, plan, out)) return 1;
    if (!WriteWholeFile(plan.log_path, InstallLogText(options, plan))) {
        std::fprintf(out, "cannot write the installation log %s\n", plan.log_path.c_str());
        return 1;
    }
    std::fprintf(out, "installation log %s\n", plan.log_path.c_str());

    const std::string temp = MakeInstallerTemp();
    const std::string parameter_file = temp + "\\TVRTP.INI";
    if (temp.empty() || !WriteWholeFile(parameter_file, ParameterFileText(options.install_folder, temp))) {
        std::fprintf(out, "cannot write the parameter file\n");
        return 1;
    }
    bool ok = true;
    if (options.register_controls) ok = RegisterControls(plan, tool_folder, temp, parameter_file, out);
    const std::string entry = RunForExitCode(plan.uninstaller_path,
                                             UninstallerEntryArguments(options, plan, parameter_file),
                                             options.install_folder, parameter_file);
    std::fprintf(out, "skerrit /I: ExitCode %s\n", entry.c_str());
    ok = ok && entry == "1";

    DeleteFileA((temp + "\\REGISTER.INI").c_str());
    DeleteFileA(parameter_file.c_str());
    RemoveDirectoryA(temp.c_str());
    std::fprintf(out, ok ? "Installation complete\n" : "Installation incomplete\n");
    return ok ? 0 : 1;
}
