#pragma once
// Keeps the user interface alive during long work on the GUI thread.

#include <windows.h>

// Takes every waiting message off the queue, translates and dispatches it
// (through `dialog`'s keyboard handling when given). A quit message sets
// `*cancel`; it is posted again once the queue is drained, so the loop that
// owns the thread still ends instead of waiting for a quit that never comes.
void DrainMessages(HWND dialog, bool* cancel);
