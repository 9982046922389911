// The application object: the job slot table shared by every job, and the
// record of the running job threads that the end of the program waits for.
#pragma once

#include "corvane/job_slots.h"
#include "framework/afx_app_win.h"
#include "framework/afx_dialog_win.h"

#include <atomic>
#include <mutex>
#include <vector>

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

private:
    struct JobThread {
        HANDLE handle;
        HANDLE wait;  // the registered wait that sees the thread end
        DWORD id;
    };

    static void CALLBACK OnJobEnded(void* app, BOOLEAN timedOut);
    void ReleaseEndedJobs();

    corvane::JobSlotTable<CWinThread, CDialog> m_jobSlots;
    std::atomic<bool> m_stopRequested{false};
    std::mutex m_jobsLock;
    std::vector<JobThread> m_jobs;
    HANDLE m_noJobs = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);  // set while none runs
};

CSampleApp& SampleApp();
