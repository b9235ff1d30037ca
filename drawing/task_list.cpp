#include "drawing/task_list.h"

#include "drawing/task.h"

namespace {

const INT_PTR kTaskGrowth = 128;

}  // namespace

class TTaskList::CListLock {
public:
    explicit CListLock(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
    ~CListLock() { LeaveCriticalSection(&m_lock); }

private:
    CRITICAL_SECTION& m_lock;
};

TTaskList::TTaskList() : m_tasks(new CObArray), m_noticePending(false), m_taken(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
    InitializeCriticalSection(&m_lock);
    m_tasks->SetSize(0, kTaskGrowth);
}

TTaskList::~TTaskList()
{
    RemoveAll();
    delete m_tasks;
    if (m_taken)
        CloseHandle(m_taken);
    DeleteCriticalSection(&m_lock);
}

int TTaskList::Add(TTask* task)
{
    if (!task)
        return -1;
    CListLock hold(m_lock);
    return static_cast<int>(m_tasks->Add(task));
}

TTask* TTaskList::GetAt(int index) const
{
    CListLock hold(m_lock);
    return static_cast<TTask*>(m_tasks->GetAt(index));
}

int TTaskList::GetCount() const
{
    CListLock hold(m_lock);
    return static_cast<int>(m_tasks->GetSize());
}

void TTaskList::RemoveAll()
{
    CListLock hold(m_lock);
    for (INT_PTR i = 0; i < m_tasks->GetSize(); ++i)
        delete m_tasks->GetAt(i);
    m_tasks->RemoveAll();
    m_tasks->SetSize(0, kTaskGrowth);
    m_noticePending = false;
}

int TTaskList::FindNext(int start, BYTE quick) const
{
    CListLock hold(m_lock);
    const int count = static_cast<int>(m_tasks->GetSize());
    if (count == 0)
        return -1;
    if (start < 0)
        start = 0;
    if (start > count - 1)
        start = count - 1;
    for (int pass = 0; pass < 2; ++pass) {
        const int from = pass == 0 ? start : 0;
        const int to = pass == 0 ? count : start;
        for (int i = from; i < to; ++i) {
            const TTask* task = static_cast<const TTask*>(m_tasks->GetAt(i));
            if (task->quick == quick && !task->done)
                return i;
        }
    }
    return -1;
}

int TTaskList::FindNextPending(int start) const
{
    return FindNext(start, 1);
}

int TTaskList::FindNextToRender(int start) const
{
    return FindNext(start, 0);
}

TTask* TTaskList::FindFinished() const
{
    CListLock hold(m_lock);
    for (INT_PTR i = 0; i < m_tasks->GetSize(); ++i) {
        TTask* task = static_cast<TTask*>(m_tasks->GetAt(i));
        if (task->done && !task->taken)
            return task;
    }
    return nullptr;
}

bool TTaskList::MarkDone(TTask* task, int32_t result)
{
    CListLock hold(m_lock);
    task->result = result;
    task->done = 1;
    const bool tell = !m_noticePending;
    m_noticePending = true;
    return tell;
}

bool TTaskList::TakeFinished(TTaskResult& out)
{
    {
        CListLock hold(m_lock);
        TTask* task = FindFinished();
        if (!task) {
            m_noticePending = false;
            return false;
        }
        out.itemValue = task->itemValue;
        out.result = task->result;
        out.thumbnail = task->thumbnail;
        task->thumbnail = nullptr;
        task->taken = 1;
    }
    SetEvent(m_taken);
    return true;
}

void TTaskList::WaitForTaken(DWORD timeoutMs) const
{
    WaitForSingleObject(m_taken, timeoutMs);
}
