// The application object: the job slot table shared by every job, and the
// record of the running job threads that the end of the program waits for.
#pragma once

#include "corvane/job_slots.h"
#include "framework/afx_app_win.h"
#include "framework/afx_dialog_win.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

// Posted to the window set by SetReaper when a job thread has ended: its wait is unregistered
// and its handle closed there, never inside a wait callback.
constexpr UINT kReapJobsMessage = WM_APP + 0x2B0;

class CSampleApp : public CWinApp {
public:
    CSampleApp() = default;
    ~CSampleApp() override;

    BOOL InitInstance() override;

    corvane::JobSlotTable<CWinThread, CDialog>& JobSlots() { return m_jobSlots; }

    // Starts a job thread of `threadClass`; false when it cannot be started.
    bool StartJob(const CRuntimeClass* threadClass);
    // Set once the program is closing: running jobs cancel and report nothing.
    bool StopRequested() const { return m_stopRequested; }
    // Asks every running job to cancel and waits, answering the messages the
    // jobs send to this thread, until all their threads have ended.
    void StopJobsAndWait();
    // Job threads started and not yet ended; their handles are held until then only.
    size_t RunningJobs();
    // The window that receives kReapJobsMessage (null: none, jobs are reaped when the next
    // one starts and at the end).
    void SetReaper(HWND window) { m_reaper = window; }
    // Unregisters the waits of ended jobs (waiting for their callbacks) and closes their handles.
    void ReapEndedJobs();

private:
    // One per job; its wait callback gets this record and touches nothing else of the job table.
    struct JobThread {
        CSampleApp* app;
        HANDLE handle;
        HANDLE wait;  // the registered wait that sees the thread end
        DWORD id;
        bool ended;
    };

    static void CALLBACK OnJobEnded(void* job, BOOLEAN timedOut);
    void JobEnded(JobThread& job);
    static void Reap(JobThread& job);

    corvane::JobSlotTable<CWinThread, CDialog> m_jobSlots;
    std::atomic<bool> m_stopRequested{false};
    std::mutex m_jobsLock;
    std::vector<std::unique_ptr<JobThread>> m_jobs;
    size_t m_running = 0;
    std::atomic<HWND> m_reaper{nullptr};
    HANDLE m_noJobs = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);  // set while none runs
};

CSampleApp& SampleApp();
