// The thumbnail jobs of the folder being shown, in row order. The file list
// appends jobs and takes finished thumbnails on the UI thread while the task
// thread searches the list, stores results and empties it: every operation
// holds the list's lock, and a finished thumbnail leaves the list by value
// (TakeFinished), so the UI thread never holds a job the task thread may
// delete.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <deque>
#include <vector>

#include "platform/classlib/critical_section.h"
#include "platform/classlib/collections_array.h"

class KBMP;
class TTask;

// The list window is told of finished thumbnails by one notice at a time:
// the task thread posts WM_THUMB_DONE only while no notice is waiting, and
// the window's handler takes every finished thumbnail. A folder served from
// the cache so costs a few messages instead of one per file.
//
// A finished job as the file list takes it: its row, its result code and
// its thumbnail, which the taker owns from then on.
struct TTaskResult {
    int32_t itemValue = -1;
    int32_t result = 0;
    KBMP* thumbnail = nullptr;
};

class TTaskList : public CObject {
public:
    TTaskList();
    // Deletes every task.
    ~TTaskList() override;

    // Appends the task, which the list owns from then on; its index, or -1
    // for a null task.
    int Add(TTask* task);
    // The task, or null for an index outside the list. The task thread's
    // own use only: the task stays valid until it empties the list.
    TTask* GetAt(int index) const;
    int GetCount() const;
    // Deletes every task.
    void RemoveAll();

    // The next task with quick 1 (FindNextPending) or quick 0
    // (FindNextToRender) not yet done, from start on, wrapping round to the
    // tasks before start; -1 when there is none.
    int FindNextPending(int start) const;
    int FindNextToRender(int start) const;
    // Up to `count` tasks FindNextToRender would give after the one at
    // `index` (searching from the same start), in that order, among the
    // `window` tasks that follow it; appended to `out`.
    void CollectToRender(int start, int index, int window, int count, std::vector<TTask*>& out) const;
    // The first task done but not taken, or null.
    TTask* FindFinished() const;
    // The task waits for the render phase: its quick flag becomes 0.
    void MarkToRender(TTask* task);
    bool HasFinished() const { return FindFinished() != nullptr; }

    // Stores the result: done 1 after the thumbnail is in place. True when
    // the list window is to be told (no notice is waiting for it yet); it
    // is told again only after TakeFinished has found nothing left.
    bool MarkDone(TTask* task, int32_t result);
    // Takes the first finished thumbnail out: the task is marked taken and
    // its thumbnail pointer cleared. False when none is waiting.
    bool TakeFinished(TTaskResult& out);
    // Waits until every finished thumbnail is taken, at most timeoutMs.
    void WaitForTaken(DWORD timeoutMs) const;

private:
    // Where a search of one kind stopped: a search from the same start goes
    // on from there, as the tasks it passed can no longer match (done is
    // never reset, and a task leaves the quick kind only through
    // MarkToRender, which forgets the place). Adding a task forgets it too.
    struct SearchPlace {
        bool valid = false;
        int start = 0;
        int pass = 0;
        int index = 0;
    };
    int FindNext(int start, BYTE quick) const;
    void ForgetSearches();

    mutable CCriticalSection m_lock;
    CObArray* m_tasks;
    // Done and not yet taken, in the order they were done.
    std::deque<TTask*> m_finished;
    mutable SearchPlace m_searches[2];
    // A notice of finished thumbnails is on its way to the list window.
    bool m_noticePending;
    // Signalled by TakeFinished.
    HANDLE m_taken;
};
