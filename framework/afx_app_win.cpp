#include "framework/afx_app_win.h"

#include "framework/afx_resource_win.h"

#include <atomic>

namespace {

CWinApp* theApp = nullptr;
std::atomic<bool> containerEnabled{false};

// Module file name without folder and extension.
std::string ProgramName(HINSTANCE instance)
{
    std::string path = ModuleFileName(instance);
    const size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos)
        path.erase(0, slash + 1);
    const size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        path.erase(dot);
    return path;
}

} // namespace

CWinApp::CWinApp()
{
    theApp = this;
    m_bAutoDelete = FALSE;
}

CWinApp::~CWinApp()
{
    if (theApp == this)
        theApp = nullptr;
}

CWinApp* AfxGetApp() { return theApp; }

CWnd* AfxGetMainWnd()
{
    if (CWinThread* thread = AfxGetThread(); thread != nullptr && thread->m_pMainWnd != nullptr)
        return thread->m_pMainWnd;
    return theApp != nullptr ? theApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return theApp != nullptr && theApp->m_hInstance != nullptr ? theApp->m_hInstance
                                                               : ::GetModuleHandleA(nullptr);
}

void AfxEnableControlContainer() { containerEnabled = true; }

bool AfxControlContainerEnabled() { return containerEnabled; }

int AfxWinMain(HINSTANCE instance)
{
    CWinApp* app = theApp;
    if (app == nullptr)
        return 1;
    app->m_hInstance = instance;
    app->m_appName = ProgramName(instance);
    app->m_nThreadID = ::GetCurrentThreadId();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}

int AfxMessageBox(UINT promptId, UINT type, HWND owner)
{
    const std::string text = LoadResourceString(AfxGetInstanceHandle(), promptId);
    const char* title = theApp != nullptr ? theApp->AppName() : "";
    return ::MessageBoxA(owner, text.c_str(), title, type);
}
