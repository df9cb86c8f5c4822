// A critical section that lives as long as the process (Windows files only).
#pragma once

#include "system/win32.h"

// Never deleted: threads still running while the process exits may take it.
class ProcessLock {
public:
    ProcessLock() { InitializeCriticalSection(&section_); }
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;
    void lock() { EnterCriticalSection(&section_); }
    void unlock() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class ProcessLockGuard {
public:
    explicit ProcessLockGuard(ProcessLock& lock) : lock_(lock) { lock_.lock(); }
    ~ProcessLockGuard() { lock_.unlock(); }
    ProcessLockGuard(const ProcessLockGuard&) = delete;
    ProcessLockGuard& operator=(const ProcessLockGuard&) = delete;

private:
    ProcessLock& lock_;
};
