// A critical section owned by its object, and the guard that holds it for
// the length of a scope.
#pragma once
#include <windows.h>

class CSection {
public:
    CSection() { InitializeCriticalSection(&m_section); }
    ~CSection() { DeleteCriticalSection(&m_section); }
    CSection(const CSection&) = delete;
    CSection& operator=(const CSection&) = delete;

    void Enter() { EnterCriticalSection(&m_section); }
    void Leave() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

class CSectionLock {
public:
    explicit CSectionLock(CSection& section) : m_section(section) { m_section.Enter(); }
    ~CSectionLock() { m_section.Leave(); }
    CSectionLock(const CSectionLock&) = delete;
    CSectionLock& operator=(const CSectionLock&) = delete;

private:
    CSection& m_section;
};
