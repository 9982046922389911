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
    std::vector<JobThread> jobs;
    {
        std::lock_guard<std::mutex> hold(m_jobsLock);
        jobs.swap(m_jobs);
    }
    for (const JobThread& job : jobs) {
        ::UnregisterWaitEx(job.wait, INVALID_HANDLE_VALUE);
        ::CloseHandle(job.handle);
    }
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
    // Suspended first, so the thread's handle is ours before the job can end.
    CWinThread* thread =
        AfxBeginThread(threadClass, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
    if (thread == nullptr)
        return false;
    HANDLE handle = nullptr;
    if (::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread, ::GetCurrentProcess(), &handle,
                          SYNCHRONIZE, FALSE, 0)) {
        std::lock_guard<std::mutex> hold(m_jobsLock);
        JobThread job{handle, nullptr, thread->m_nThreadID};
        // The handle goes when the thread ends, not when the program does.
        if (::RegisterWaitForSingleObject(&job.wait, handle, OnJobEnded, this, INFINITE,
                                          WT_EXECUTEONLYONCE)) {
            m_jobs.push_back(job);
            ::ResetEvent(m_noJobs);
        } else {
            ::CloseHandle(handle);
        }
    }
    thread->ResumeThread();
    return true;
}

void CALLBACK CSampleApp::OnJobEnded(void* app, BOOLEAN)
{
    static_cast<CSampleApp*>(app)->ReleaseEndedJobs();
}

void CSampleApp::ReleaseEndedJobs()
{
    std::lock_guard<std::mutex> hold(m_jobsLock);
    for (auto job = m_jobs.begin(); job != m_jobs.end();) {
        if (::WaitForSingleObject(job->handle, 0) != WAIT_OBJECT_0) {
            ++job;
            continue;
        }
        ::UnregisterWait(job->wait);  // inside its own callback: must not wait for it
        ::CloseHandle(job->handle);
        job = m_jobs.erase(job);
    }
    if (m_jobs.empty())
        ::SetEvent(m_noJobs);
}

size_t CSampleApp::RunningJobs()
{
    std::lock_guard<std::mutex> hold(m_jobsLock);
    return m_jobs.size();
}

void CSampleApp::StopJobsAndWait()
{
    m_stopRequested = true;
    std::vector<DWORD> ids;
    {
        std::lock_guard<std::mutex> hold(m_jobsLock);
        for (const JobThread& job : m_jobs)
            ids.push_back(job.id);
    }
    for (DWORD id : ids)
        ::PostThreadMessageA(id, WM_NULL, 0, 0); // wakes a job loop that waits
    AnswerMessagesUntil(m_noJobs);
}
