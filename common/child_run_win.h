// Runs of a program in a process of its own (skerrit's temporary copy,
// tolvane's registration of one server) and the channel their result comes
// back through. An exit status alone proves nothing: a server calling
// ExitProcess(0), or a process ended from outside, produces one too. A child
// that ended without writing its result file failed.
#pragma once

#include <windows.h>

#include <string>

// Writes `value` as the run's result ("<decimal>\r\n"); false when the file
// could not be written whole.
bool WriteRunResult(const std::string& result_file, long value);

// The result a child wrote; false when the file is missing, incomplete or
// holds no number.
bool ReadRunResult(const std::string& result_file, long& value);

// A result file name beside `base` that no other run uses now: base + "."
// + process id + "." + counter + ".result". Empty when it would not fit a path.
std::string UniqueResultFile(const std::string& base);

// Starts `program` with the command line "\"program\" arguments" in `folder`
// and returns its process handle (null on failure). CreateProcess first; only
// when that needs elevation (a program that asks for administrator rights
// started by one without them; never on Windows XP) through the shell, which
// asks the user. `show` is the window state for the child's first window.
// With a `job` the child joins it before it runs a single instruction (where
// it cannot, as in a job already before Windows 8, it runs outside). `pid`
// receives the child's identifier (0 when the shell started it).
HANDLE StartProgram(const std::string& program, const std::string& arguments, const std::string& folder,
                    WORD show, HANDLE job = nullptr, DWORD* pid = nullptr);
