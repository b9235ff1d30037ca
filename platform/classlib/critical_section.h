// CCriticalSection: a Win32 critical section owned by the object, and
// CSingleLock, which holds one for the life of a block.
#pragma once
#include <windows.h>

class CCriticalSection {
public:
    CCriticalSection();
    ~CCriticalSection();
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void Lock();
    // Takes the section only when no other thread holds it; never waits.
    bool TryLock();
    void Unlock();

private:
    CRITICAL_SECTION m_section;
};

class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection* section, BOOL initialLock = FALSE);
    // Unlocks the section when this lock holds it.
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    void Lock();
    void Unlock();
    BOOL IsLocked() const { return m_locked; }

private:
    CCriticalSection* m_section;
    BOOL m_locked;
};
