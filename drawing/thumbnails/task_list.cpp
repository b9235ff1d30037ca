#include "drawing/thumbnails/task_list.h"

#include "drawing/thumbnails/task.h"

namespace {

const INT_PTR kTaskGrowth = 128;

}  // namespace

TTaskList::TTaskList() : m_tasks(new CObArray), m_noticePending(false), m_taken(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
    m_tasks->SetSize(0, kTaskGrowth);
}

TTaskList::~TTaskList()
{
    RemoveAll();
    delete m_tasks;
    if (m_taken)
        CloseHandle(m_taken);
}

int TTaskList::Add(TTask* task)
{
    if (!task)
        return -1;
    CSingleLock hold(&m_lock, TRUE);
    ForgetSearches();
    return static_cast<int>(m_tasks->Add(task));
}

void TTaskList::ForgetSearches()
{
    m_searches[0].valid = false;
    m_searches[1].valid = false;
}

TTask* TTaskList::GetAt(int index) const
{
    CSingleLock hold(&m_lock, TRUE);
    return static_cast<TTask*>(m_tasks->GetAt(index));
}

int TTaskList::GetCount() const
{
    CSingleLock hold(&m_lock, TRUE);
    return static_cast<int>(m_tasks->GetSize());
}

void TTaskList::RemoveAll()
{
    CSingleLock hold(&m_lock, TRUE);
    for (INT_PTR i = 0; i < m_tasks->GetSize(); ++i)
        delete m_tasks->GetAt(i);
    m_tasks->RemoveAll();
    m_tasks->SetSize(0, kTaskGrowth);
    m_finished.clear();
    ForgetSearches();
    m_noticePending = false;
}

int TTaskList::FindNext(int start, BYTE quick) const
{
    CSingleLock hold(&m_lock, TRUE);
    const int count = static_cast<int>(m_tasks->GetSize());
    if (count == 0)
        return -1;
    if (start < 0)
        start = 0;
    if (start > count - 1)
        start = count - 1;
    SearchPlace& place = m_searches[quick];
    if (!place.valid || place.start != start)
        place = SearchPlace{true, start, 0, start};
    for (; place.pass < 2; ++place.pass) {
        const int to = place.pass == 0 ? count : start;
        for (; place.index < to; ++place.index) {
            const TTask* task = static_cast<const TTask*>(m_tasks->GetAt(place.index));
            if (task->quick == quick && !task->done)
                return place.index;
        }
        place.index = 0;
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

void TTaskList::CollectToRender(int start, int index, int window, int count, std::vector<TTask*>& out) const
{
    CSingleLock hold(&m_lock, TRUE);
    const int tasks = static_cast<int>(m_tasks->GetSize());
    if (tasks == 0 || index < 0 || index >= tasks)
        return;
    start = start < 0 ? 0 : (start > tasks - 1 ? tasks - 1 : start);
    // Places in the search order: start .. last, then 0 .. start - 1.
    const int place = (index - start + tasks) % tasks;
    const int last = place + window < tasks - 1 ? place + window : tasks - 1;
    int found = 0;
    for (int next = place + 1; next <= last && found < count; ++next) {
        TTask* task = static_cast<TTask*>(m_tasks->GetAt((start + next) % tasks));
        if (task->quick == 0 && !task->done) {
            out.push_back(task);
            ++found;
        }
    }
}

TTask* TTaskList::FindFinished() const
{
    CSingleLock hold(&m_lock, TRUE);
    return m_finished.empty() ? nullptr : m_finished.front();
}

void TTaskList::MarkToRender(TTask* task)
{
    CSingleLock hold(&m_lock, TRUE);
    task->quick = 0;
    ForgetSearches();
}

bool TTaskList::MarkDone(TTask* task, int32_t result)
{
    CSingleLock hold(&m_lock, TRUE);
    task->result = result;
    task->done = 1;
    m_finished.push_back(task);
    const bool tell = !m_noticePending;
    m_noticePending = true;
    return tell;
}

bool TTaskList::TakeFinished(TTaskResult& out)
{
    bool drained = false;
    {
        CSingleLock hold(&m_lock, TRUE);
        if (m_finished.empty()) {
            m_noticePending = false;
            return false;
        }
        TTask* task = m_finished.front();
        m_finished.pop_front();
        out.itemValue = task->itemValue;
        out.result = task->result;
        out.thumbnail = task->thumbnail;
        task->thumbnail = nullptr;
        task->taken = 1;
        drained = m_finished.empty();
    }
    // The task thread waits only for the last one to be taken.
    if (drained)
        SetEvent(m_taken);
    return true;
}

void TTaskList::WaitForTaken(DWORD timeoutMs) const
{
    WaitForSingleObject(m_taken, timeoutMs);
}
