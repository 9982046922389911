#include "corvane/corvane_app_win.h"

#include "corvane/sample_dlg_win.h"

namespace {

// Waits for `done`, handling this thread's messages meanwhile (the jobs' message boxes are
// owned by it, and its dialog keeps painting and can be moved).
void AnswerMessagesUntil(HANDLE done)
{
    for (;;) {
        const DWORD wait = ::MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT);
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
    std::vector<std::unique_ptr<JobThread>> jobs;
    {
        std::lock_guard<std::mutex> hold(m_jobsLock);
        jobs.swap(m_jobs);
    }
    // Every wait goes (each waiting for its callback) before the lock and event they use.
    for (const auto& job : jobs)
        Reap(*job);
    ::CloseHandle(m_noJobs);
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
    ReapEndedJobs();
    // Suspended first, so the thread's handle is ours before the job can end.
    CWinThread* thread =
        AfxBeginThread(threadClass, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
    if (thread == nullptr)
        return false;
    HANDLE handle = nullptr;
    if (::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread, ::GetCurrentProcess(), &handle,
                          SYNCHRONIZE, FALSE, 0)) {
        std::lock_guard<std::mutex> hold(m_jobsLock);
        std::unique_ptr<JobThread> job(new JobThread{this, handle, nullptr, thread->m_nThreadID, false});
        // The handle goes when the thread ends, not when the program does.
        if (::RegisterWaitForSingleObject(&job->wait, handle, OnJobEnded, job.get(), INFINITE,
                                          WT_EXECUTEONLYONCE)) {
            m_jobs.push_back(std::move(job));
            ++m_running;
            ::ResetEvent(m_noJobs);
        } else {
            ::CloseHandle(handle);
        }
    }
    thread->ResumeThread();
    return true;
}

void CALLBACK CSampleApp::OnJobEnded(void* job, BOOLEAN)
{
    JobThread& ended = *static_cast<JobThread*>(job);
    ended.app->JobEnded(ended);
}

void CSampleApp::JobEnded(JobThread& job)
{
    HWND reaper = nullptr;
    {
        std::lock_guard<std::mutex> hold(m_jobsLock);
        job.ended = true;
        if (--m_running == 0)
            ::SetEvent(m_noJobs);
        reaper = m_reaper;
    }
    if (reaper != nullptr)
        ::PostMessageA(reaper, kReapJobsMessage, 0, 0);
}

void CSampleApp::Reap(JobThread& job)
{
    ::UnregisterWaitEx(job.wait, INVALID_HANDLE_VALUE);
    ::CloseHandle(job.handle);
}

void CSampleApp::ReapEndedJobs()
{
    std::vector<std::unique_ptr<JobThread>> ended;
    {
        std::lock_guard<std::mutex> hold(m_jobsLock);
        for (auto job = m_jobs.begin(); job != m_jobs.end();) {
            if (!(*job)->ended) {
                ++job;
                continue;
            }
            ended.push_back(std::move(*job));
            job = m_jobs.erase(job);
        }
    }
    for (const auto& job : ended)
        Reap(*job);
}

size_t CSampleApp::RunningJobs()
{
    std::lock_guard<std::mutex> hold(m_jobsLock);
    return m_running;
}

void CSampleApp::StopJobsAndWait()
{
    m_stopRequested = true;
    std::vector<DWORD> ids;
    {
        std::lock_guard<std::mutex> hold(m_jobsLock);
        for (const auto& job : m_jobs)
            if (!job->ended)
                ids.push_back(job->id);
    }
    for (DWORD id : ids)
        ::PostThreadMessageA(id, WM_NULL, 0, 0); // wakes a job loop that waits
    AnswerMessagesUntil(m_noJobs);
    ReapEndedJobs();
}
