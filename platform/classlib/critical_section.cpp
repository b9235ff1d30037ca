#include "platform/classlib/critical_section.h"

CCriticalSection::CCriticalSection()
{
    InitializeCriticalSection(&m_section);
}

CCriticalSection::~CCriticalSection()
{
    DeleteCriticalSection(&m_section);
}

void CCriticalSection::Lock()
{
    EnterCriticalSection(&m_section);
}

bool CCriticalSection::TryLock()
{
    return TryEnterCriticalSection(&m_section) != FALSE;
}

void CCriticalSection::Unlock()
{
    LeaveCriticalSection(&m_section);
}

CSingleLock::CSingleLock(CCriticalSection* section, BOOL initialLock) : m_section(section), m_locked(FALSE)
{
    if (initialLock)
        Lock();
}

CSingleLock::~CSingleLock()
{
    Unlock();
}

void CSingleLock::Lock()
{
    if (m_locked)
        return;
    m_section->Lock();
    m_locked = TRUE;
}

void CSingleLock::Unlock()
{
    if (!m_locked)
        return;
    m_section->Unlock();
    m_locked = FALSE;
}
