// User-interface threads: an object created from its class's creation
// function, running InitInstance on its own thread with its own message queue.
#pragma once

#include "framework/afx_wnd_win.h"

#include <new>

class CWinThread;

struct CRuntimeClass {
    const char* className;
    CWinThread* (*createObject)();
};

#define DECLARE_DYNCREATE(cls)           \
public:                                  \
    static const CRuntimeClass classInfo; \
    static CWinThread* CreateObject();

#define IMPLEMENT_DYNCREATE(cls)                               \
    const CRuntimeClass cls::classInfo = {#cls, &cls::CreateObject}; \
    CWinThread* cls::CreateObject() { return new (std::nothrow) cls; }

#define RUNTIME_CLASS(cls) (&cls::classInfo)

class CWinThread {
public:
    CWinThread() = default;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    virtual ~CWinThread();

    // Work of the thread; TRUE runs the message loop, FALSE ends the thread.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
    // Message loop until WM_QUIT; its exit code comes from ExitInstance.
    virtual int Run();
    // Gives the window a message is for a chance to handle it first.
    virtual BOOL PreTranslateMessage(MSG* msg);

    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }

    CWnd* m_pMainWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;

};

// Creates the object through its class and starts its thread; returns once
// the new thread has set up its framework state (or at once with
// CREATE_SUSPENDED: ResumeThread then starts it). Null when it cannot start.
CWinThread* AfxBeginThread(const CRuntimeClass* threadClass,
                           int priority = THREAD_PRIORITY_NORMAL, unsigned stackSize = 0,
                           DWORD createFlags = 0, SECURITY_ATTRIBUTES* security = nullptr);

// Ends the calling framework thread: deletes its object when auto-deleting
// and exits with `exitCode`. Objects on the thread's stack are not destroyed.
[[noreturn]] void AfxEndThread(UINT exitCode, BOOL deleteObject = TRUE);

CWinThread* AfxGetThread();

// Removes and dispatches every message waiting in the calling thread's queue,
// each offered to PreTranslateMessage first. False when WM_QUIT was seen
// (it is posted again for the outer loop).
bool AfxPumpWaitingMessages();
