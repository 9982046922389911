// The parameter file: INI file named by /R, section TVRTP. The installer hands
// its folders in through ExePath, TempDir and CustomPath and reads the run's
// result back from ExitCode.
#pragma once

#include <string>

struct ParameterFolders {
    std::string custom_path;  // CustomPath, value of <Custom>
    std::string temp_dir;     // TempDir, value of <TVTemp>
    std::string exe_path;     // ExePath, value of <Exe>
};

// One key of section TVRTP, whole however long (callers that keep folders to a limit see the
// overlong value and can refuse it); empty when the file, the section or the key is missing.
std::string ReadParameterValue(const std::string& parameter_file, const char* key);

// The three folder keys of section TVRTP.
ParameterFolders ReadParameterFolders(const std::string& parameter_file);

// Writes ExitCode with "%ld"; creates the section when needed. False when the
// write failed (callers do not report it).
bool WriteExitCode(const std::string& parameter_file, long result_code);
