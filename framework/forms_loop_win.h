// The message loop of a forms program. Every loaded form takes part in dialog
// keyboard handling (Tab, Enter, mnemonics).
#pragma once

#include <windows.h>

namespace forms {

void RegisterModeless(HWND form);
void UnregisterModeless(HWND form);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Serves every message waiting in the queue. Returns false when WM_QUIT was
// met; the quit is posted again so the outer loop still ends.
bool DoEvents();

// Blocks until input arrives or timeoutMs passes, without using the CPU.
void WaitForInput(DWORD timeoutMs);

}  // namespace forms
