#include "platform/classlib/threadstate.h"

static thread_local AFX_THREAD_STATE* t_threadState = nullptr;

AFX_THREAD_STATE* AfxGetThreadState()
{
    if (!t_threadState)
        t_threadState = new AFX_THREAD_STATE;
    return t_threadState;
}

void AfxRegisterHandleMap(HandleMapBase* map)
{
    AfxGetThreadState()->m_handleMaps.push_back(map);
}

void AfxDeleteTempMaps()
{
    if (!t_threadState)
        return;
    for (HandleMapBase* map : t_threadState->m_handleMaps)
        map->DeleteTemporaries();
}

void AfxTermThreadState()
{
    if (!t_threadState)
        return;
    AfxDeleteTempMaps();
    for (HandleMapBase* map : t_threadState->m_handleMaps)
        delete map;
    delete t_threadState;
    t_threadState = nullptr;
}
