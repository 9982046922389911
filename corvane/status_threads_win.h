// Job threads: each creates its hidden status dialog, copies the settings,
// lets the dialog run the job from its own message loop and ends itself.
#pragma once

#include "framework/afx_thread_win.h"

class CStatusThreadUnZIP : public CWinThread {
    DECLARE_DYNCREATE(CStatusThreadUnZIP)
public:
    BOOL InitInstance() override;
    int ExitInstance() override { return 0; }
};

class CStatusThreadZIP : public CWinThread {
    DECLARE_DYNCREATE(CStatusThreadZIP)
public:
    BOOL InitInstance() override;
    int ExitInstance() override { return 0; }
};
