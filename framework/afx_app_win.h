// The application object: the main thread's CWinThread, found through
// AfxGetApp, with the program's name for message-box titles.
#pragma once

#include "framework/afx_thread_win.h"

#include <string>

class CWinApp : public CWinThread {
public:
    CWinApp(); // registers the one application object of the process
    ~CWinApp() override;

    const char* AppName() const { return m_appName.c_str(); }

    HINSTANCE m_hInstance = nullptr;

private:
    friend int AfxWinMain(HINSTANCE instance);
    std::string m_appName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd(); // the calling thread's main window, else the application's
HINSTANCE AfxGetInstanceHandle();

// Runs the application object: InitInstance, then its message loop when that
// returns TRUE. Returns the program's exit code.
int AfxWinMain(HINSTANCE instance);

// Lets dialogs host controls named by class identifier in their templates.
void AfxEnableControlContainer();
bool AfxControlContainerEnabled();

// Shows string `promptId` of the program's string table in a message box
// titled with the program's name. Returns the button pressed, 0 on failure.
int AfxMessageBox(UINT promptId, UINT type = MB_OK, HWND owner = nullptr);
