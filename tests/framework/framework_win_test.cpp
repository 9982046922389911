// The framework on the real Windows API: threads, the named mutex lock,
// modeless dialogs from templates, data exchange and keyboard routing.
#include "framework/afx_app_win.h"
#include "framework/afx_dialog_win.h"
#include "framework/afx_resource_win.h"
#include "framework/afx_sync_win.h"
#include "tests/framework/test_resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

std::atomic<DWORD> initThread{0};
std::atomic<bool> sawItself{false};
std::atomic<int> destroyed{0};

class ReturningThread : public CWinThread {
    DECLARE_DYNCREATE(ReturningThread)
public:
    ~ReturningThread() override { ++destroyed; }
    BOOL InitInstance() override
    {
        initThread = GetCurrentThreadId();
        sawItself = AfxGetThread() == this;
        return FALSE;
    }
    int ExitInstance() override { return 7; }
};
IMPLEMENT_DYNCREATE(ReturningThread)

class EndingThread : public CWinThread {
    DECLARE_DYNCREATE(EndingThread)
public:
    ~EndingThread() override { ++destroyed; }
    BOOL InitInstance() override { AfxEndThread(42); }
};
IMPLEMENT_DYNCREATE(EndingThread)

class LoopingThread : public CWinThread {
    DECLARE_DYNCREATE(LoopingThread)
public:
    ~LoopingThread() override { ++destroyed; }
    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override { return 5; }
};
IMPLEMENT_DYNCREATE(LoopingThread)

// Starts a thread suspended, keeps a handle of its own, lets it run to its end.
DWORD RunToEnd(const CRuntimeClass* threadClass, DWORD* threadId = nullptr,
               const std::function<void(DWORD)>& whileRunning = nullptr)
{
    CWinThread* thread = AfxBeginThread(threadClass, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    EXPECT_NE(thread, nullptr);
    if (!thread)
        return ~0u;
    HANDLE handle = nullptr;
    DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &handle,
                    SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, 0);
    const DWORD id = thread->m_nThreadID;
    if (threadId)
        *threadId = id;
    thread->ResumeThread();
    if (whileRunning)
        whileRunning(id);
    EXPECT_EQ(WaitForSingleObject(handle, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(handle, &code);
    CloseHandle(handle);
    return code;
}

TEST(Threads, InitInstanceRunsOnTheNewThreadWhichDeletesItsObject)
{
    destroyed = 0;
    DWORD id = 0;
    EXPECT_EQ(RunToEnd(RUNTIME_CLASS(ReturningThread), &id), 7u);
    EXPECT_EQ(initThread.load(), id);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_TRUE(sawItself);
    EXPECT_EQ(destroyed, 1);
}

TEST(Threads, EndingTheThreadFromInitInstanceGivesItsCode)
{
    destroyed = 0;
    EXPECT_EQ(RunToEnd(RUNTIME_CLASS(EndingThread)), 42u);
    EXPECT_EQ(destroyed, 1);
}

TEST(Threads, MessageLoopRunsUntilQuitThenExitInstance)
{
    destroyed = 0;
    const DWORD code = RunToEnd(RUNTIME_CLASS(LoopingThread), nullptr, [](DWORD id) {
        // The queue exists once the thread has started; retry until it takes the message.
        for (int i = 0; i < 200 && !PostThreadMessageA(id, WM_QUIT, 0, 0); ++i)
            Sleep(10);
    });
    EXPECT_EQ(code, 5u);
    EXPECT_EQ(destroyed, 1);
}

TEST(Threads, StartedThreadReturnsOnlyAfterItKnowsItsObject)
{
    destroyed = 0;
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(LoopingThread));
    ASSERT_NE(thread, nullptr);
    const DWORD id = thread->m_nThreadID;
    // Opened first: once it has the quit message the thread may be gone, and its id with it.
    HANDLE handle = OpenThread(SYNCHRONIZE, FALSE, id);
    ASSERT_NE(handle, nullptr);
    // Its queue is there already: the first post must succeed.
    EXPECT_TRUE(PostThreadMessageA(id, WM_QUIT, 0, 0));
    EXPECT_EQ(WaitForSingleObject(handle, 10000), WAIT_OBJECT_0);
    CloseHandle(handle);
    EXPECT_EQ(destroyed, 1);
}

TEST(NamedMutex, TimedLockGivesUpWhileAnotherThreadHoldsIt)
{
    CMutex mine(FALSE, "afx_test_mutex_timed");
    CMutex sameName(FALSE, "afx_test_mutex_timed");
    std::atomic<bool> held{false}, release{false};
    std::thread holder([&] {
        CSingleLock lock(&sameName);
        ASSERT_TRUE(lock.Lock(1000));
        held = true;
        while (!release)
            Sleep(5);
    }); // the lock releases the mutex as the thread leaves
    while (!held)
        Sleep(5);
    CSingleLock lock(&mine);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(lock.Lock(200));
    EXPECT_GE(GetTickCount() - start, 150u);
    EXPECT_FALSE(lock.IsLocked());
    release = true;
    holder.join();
    EXPECT_TRUE(lock.Lock(1000));
    EXPECT_TRUE(lock.Unlock());
    EXPECT_FALSE(lock.Unlock());
}

TEST(NamedMutex, LockOfADeadOwnerIsStillHad)
{
    CMutex mutex(FALSE, "afx_test_mutex_abandoned");
    std::thread owner([&] { WaitForSingleObject(mutex.Handle(), 1000); }); // never releases
    owner.join();
    CSingleLock lock(&mutex);
    EXPECT_TRUE(lock.Lock(1000));
}

class PlainDialog : public CDialog {
public:
    PlainDialog() : CDialog(IDD_PLAIN) {}
    BOOL OnInitDialog() override
    {
        ++inits;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_TEXT, text);
        DDX_Control(dx, IDC_BAR, bar);
    }
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
    void PostNcDestroy() override
    {
        windowGoneAtPostNcDestroy = m_hWnd == nullptr;
        ++postNcDestroys;
    }

    int inits = 0, oks = 0, cancels = 0, postNcDestroys = 0;
    bool windowGoneAtPostNcDestroy = false;
    CEdit text;
    CProgressCtrl bar;
};

TEST(Dialogs, ModelessDialogBindsItsWrappersAndRoutesCommands)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    PlainDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_PLAIN));
    HWND window = dialog.m_hWnd;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.text.m_hWnd, GetDlgItem(window, IDC_TEXT));
    EXPECT_EQ(dialog.bar.m_hWnd, GetDlgItem(window, IDC_BAR));
    EXPECT_FALSE(IsWindowVisible(window));

    EXPECT_TRUE(SetTextIfChanged(dialog.text, "status"));
    EXPECT_EQ(dialog.text.GetWindowText(), "status");
    EXPECT_FALSE(SetTextIfChanged(dialog.text, "status"));
    dialog.bar.SetPos(40);
    EXPECT_EQ(dialog.bar.GetPos(), 40);

    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(dialog.oks, 1);
    EXPECT_EQ(dialog.cancels, 1);

    // Escape reaches OnCancel through the thread's pump and the dialog's keyboard handling.
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(AfxPumpWaitingMessages());
    EXPECT_EQ(dialog.cancels, 2);
    EXPECT_TRUE(IsWindow(window));

    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.postNcDestroys, 1);
    EXPECT_TRUE(dialog.windowGoneAtPostNcDestroy);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(Dialogs, MissingTemplateCreatesNothing)
{
    PlainDialog dialog;
    EXPECT_FALSE(dialog.Create(999));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.inits, 0);
    EXPECT_EQ(dialog.postNcDestroys, 0);
}

TEST(Dialogs, TemplateNamingAControlThatCannotBeCreatedGivesNoWindow)
{
    // Without containment the template is refused; with it, the unknown class fails.
    PlainDialog refused;
    EXPECT_FALSE(refused.Create(IDD_HOSTED));
    EXPECT_EQ(refused.inits, 0);

    AfxEnableControlContainer();
    PlainDialog failed;
    EXPECT_FALSE(failed.Create(IDD_HOSTED));
    EXPECT_EQ(failed.m_hWnd, nullptr);
    EXPECT_EQ(failed.inits, 0) << "OnInitDialog runs only when every control is there";
    EXPECT_EQ(failed.postNcDestroys, 0) << "the caller still owns the object";
}

TEST(Resources, StringsComeFromTheirBlocks)
{
    HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(LoadResourceString(self, IDS_FIRST), "first string");
    EXPECT_EQ(LoadResourceString(self, IDS_SECOND_BLOCK), "in the second block");
    EXPECT_EQ(LoadResourceString(self, 2), "");
    EXPECT_EQ(LoadResourceString(self, 4000), "");
    const std::string path = ModuleFileName(self);
    EXPECT_NE(path.find("framework_win_test"), std::string::npos);
}

} // namespace
