// Named system mutex and a lock on it that waits a limited time.
#pragma once

#include <windows.h>

class CMutex {
public:
    // Opens the mutex of that name, creating it when no process has it yet.
    explicit CMutex(BOOL initiallyOwn = FALSE, const char* name = nullptr,
                    SECURITY_ATTRIBUTES* security = nullptr);
    CMutex(const CMutex&) = delete;
    CMutex& operator=(const CMutex&) = delete;
    ~CMutex();

    HANDLE Handle() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// Lock prepared on a mutex; Lock waits, the destructor releases what it holds.
class CSingleLock {
public:
    explicit CSingleLock(CMutex* mutex, BOOL lockNow = FALSE);
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;
    ~CSingleLock() { Unlock(); }

    // True when the mutex is held (also when its previous owner died holding it).
    BOOL Lock(DWORD timeoutMs = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const { return locked_; }

private:
    CMutex* mutex_;
    BOOL locked_ = FALSE;
};
