// Registration of one COM server in a tolvane process of its own, so that
// nothing the server does (a fault in its export, its DllMain or another
// thread, an exception of any compiler, a stack overflow, ExitProcess, a
// message box or an export that never returns) takes the run down or hangs it.
#pragma once

#include <windows.h>

#include <string>

#include "command_line.h"

namespace tolvane {

// What one server may take before its child is ended and it counts as failed.
constexpr DWORD kServerTimeLimitMs = 60000;

// Starts "tolvane /O<op> /X <result file> /P <server>" in the server's folder
// (values unquoted: tolvane takes quotes as part of a value, and no full path
// holds a slash)
// and waits for it, dispatching this thread's messages meanwhile (servers
// that broadcast with SendMessage would otherwise wait on this process) and
// keeping the child's windows above `topmost_window` when that one is
// topmost. True only when the child reported success through its result file
// and ended with status 0.
bool RegisterServerInChild(const std::string& path, bool do_register, HWND topmost_window);

// The child's side (/X and /P given): quiet error modes, the server's own
// folder, RegisterServerFile, the result written. Returns the exit status: 0
// registered, 1 failed.
int RunServerChild(const CommandLineValues& command);

}  // namespace tolvane
