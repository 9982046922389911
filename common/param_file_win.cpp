#include "param_file_win.h"

#include "common/profile_value_win.h"

#include <windows.h>

#include <string>

namespace {
const char kSection[] = "TVRTP";
}

std::string ReadParameterValue(const std::string& parameter_file, const char* key) {
    // Whole, never cut: a folder cut at a fixed limit would name another folder, and the paths
    // built on it other files.
    return ReadWholeProfileValue(parameter_file, kSection, key);
}

ParameterFolders ReadParameterFolders(const std::string& parameter_file) {
    ParameterFolders folders;
    folders.custom_path = ReadParameterValue(parameter_file, "CustomPath");
    folders.temp_dir = ReadParameterValue(parameter_file, "TempDir");
    folders.exe_path = ReadParameterValue(parameter_file, "ExePath");
    return folders;
}

bool WriteExitCode(const std::string& parameter_file, long result_code) {
    const std::string text = std::to_string(result_code);
    return WritePrivateProfileStringA(kSection, "ExitCode", text.c_str(), parameter_file.c_str()) != FALSE;
}
