#include "corvane/corvane_app_win.h"

#include "corvane/sample_dlg_win.h"

namespace {

void AnswerMessagesUntilEnded(HANDLE thread)
{
    for (;;) {
        const DWORD wait = ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
        if (wait != WAIT_OBJECT_0 + 1)
            return;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

} // namespace

CSampleApp& SampleApp() { return *static_cast<CSampleApp*>(AfxGetApp()); }

CSampleApp::~CSampleApp()
{
    for (const JobThread& job : m_jobs)
        ::CloseHandle(job.handle);
}

BOOL CSampleApp::InitInstance()
{
    AfxEnableControlContainer();
    CSampleDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

bool CSampleApp::StartJob(const CRuntimeClass* threadClass)
{
    // Suspended first, so the thread's handle is ours before the job can end.
    CWinThread* thread =
        AfxBeginThread(threadClass, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
    if (thread == nullptr)
        return false;
    HANDLE handle = nullptr;
    if (::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread, ::GetCurrentProcess(), &handle,
                          SYNCHRONIZE, FALSE, 0)) {
        std::lock_guard<std::mutex> hold(m_jobsLock);
        m_jobs.push_back(JobThread{handle, thread->m_nThreadID});
    }
    thread->ResumeThread();
    return true;
}

void CSampleApp::StopJobsAndWait()
{
    m_stopRequested = true;
    std::vector<JobThread> jobs;
    {
        std::lock_guard<std::mutex> hold(m_jobsLock);
        jobs = m_jobs;
    }
    for (const JobThread& job : jobs)
        ::PostThreadMessageA(job.id, WM_NULL, 0, 0); // wakes a job loop that waits
    for (const JobThread& job : jobs)
        AnswerMessagesUntilEnded(job.handle);
}
