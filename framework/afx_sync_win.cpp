#include "framework/afx_sync_win.h"

CMutex::CMutex(BOOL initiallyOwn, const char* name, SECURITY_ATTRIBUTES* security)
    : handle_(::CreateMutexA(security, initiallyOwn, name))
{
}

CMutex::~CMutex()
{
    if (handle_ != nullptr)
        ::CloseHandle(handle_);
}

CSingleLock::CSingleLock(CMutex* mutex, BOOL lockNow) : mutex_(mutex)
{
    if (lockNow)
        Lock();
}

BOOL CSingleLock::Lock(DWORD timeoutMs)
{
    if (locked_)
        return TRUE;
    if (mutex_ == nullptr || mutex_->Handle() == nullptr)
        return FALSE;
    const DWORD wait = ::WaitForSingleObject(mutex_->Handle(), timeoutMs);
    locked_ = (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ? TRUE : FALSE;
    return locked_;
}

BOOL CSingleLock::Unlock()
{
    if (!locked_)
        return FALSE;
    locked_ = FALSE;
    return ::ReleaseMutex(mutex_->Handle());
}
