#include "framework/afx_thread_win.h"

#include "framework/afx_app_win.h"
#include "framework/afx_dialog_win.h"

#include <process.h>

namespace {

thread_local CWinThread* currentThread = nullptr;

struct ThreadStartup {
    CWinThread* thread;
    HANDLE started; // set once the new thread knows its object; null when nobody waits
};

void FinishThread(CWinThread* thread, BOOL deleteObject)
{
    currentThread = nullptr;
    if (thread != nullptr && deleteObject && thread->m_bAutoDelete)
        delete thread;
}

unsigned __stdcall ThreadEntry(void* parameter)
{
    auto* startup = static_cast<ThreadStartup*>(parameter);
    CWinThread* thread = startup->thread;
    currentThread = thread;
    MSG msg;
    ::PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // the thread's queue
    if (startup->started != nullptr)
        ::SetEvent(startup->started);
    delete startup;

    int exitCode = 0;
    if (thread->InitInstance())
        exitCode = thread->Run();
    else
        exitCode = thread->ExitInstance();
    FinishThread(thread, TRUE);
    return static_cast<unsigned>(exitCode);
}

} // namespace

CWinThread::~CWinThread()
{
    if (m_hThread != nullptr)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) { return AfxPreTranslateDialogMessage(msg); }

int CWinThread::Run()
{
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}

CWinThread* AfxBeginThread(const CRuntimeClass* threadClass, int priority, unsigned stackSize,
                           DWORD createFlags, SECURITY_ATTRIBUTES* security)
{
    if (threadClass == nullptr || threadClass->createObject == nullptr)
        return nullptr;
    CWinThread* thread = threadClass->createObject();
    if (thread == nullptr)
        return nullptr;
    if (CWinApp* app = AfxGetApp())
        thread->m_pMainWnd = app->m_pMainWnd;

    // The new thread frees the startup record; the creator keeps the event.
    const bool waitForStart = (createFlags & CREATE_SUSPENDED) == 0;
    HANDLE started = waitForStart ? ::CreateEventA(nullptr, TRUE, FALSE, nullptr) : nullptr;
    auto* startup = new (std::nothrow) ThreadStartup{thread, started};
    if (startup == nullptr || (waitForStart && started == nullptr)) {
        delete startup;
        if (started != nullptr)
            ::CloseHandle(started);
        delete thread;
        return nullptr;
    }
    unsigned threadId = 0;
    const uintptr_t handle = _beginthreadex(security, stackSize, &ThreadEntry, startup,
                                            CREATE_SUSPENDED, &threadId);
    if (handle == 0) {
        delete startup;
        if (started != nullptr)
            ::CloseHandle(started);
        delete thread;
        return nullptr;
    }
    thread->m_hThread = reinterpret_cast<HANDLE>(handle);
    thread->m_nThreadID = threadId;
    ::SetThreadPriority(thread->m_hThread, priority);
    if (waitForStart) {
        ::ResumeThread(thread->m_hThread);
        ::WaitForSingleObject(started, INFINITE);
        ::CloseHandle(started);
    }
    return thread;
}

[[noreturn]] void AfxEndThread(UINT exitCode, BOOL deleteObject)
{
    FinishThread(currentThread, deleteObject);
    _endthreadex(exitCode);
    for (;;) {
    }
}

CWinThread* AfxGetThread() { return currentThread; }

bool AfxPumpWaitingMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        CWinThread* thread = currentThread;
        const BOOL handled = thread != nullptr ? thread->PreTranslateMessage(&msg)
                                               : AfxPreTranslateDialogMessage(&msg);
        if (!handled) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}
