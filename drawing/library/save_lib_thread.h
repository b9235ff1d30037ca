// The library writer: a thread that writes the libraries handed over at the
// end of each batch, one after the other, so that the task thread never
// waits for the disk.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "platform/classlib/critical_section.h"
#include "platform/classlib/collections_array.h"
#include "platform/classlib/winthread.h"

class CWin32ThreadEvent;

// 1 while the writer writes a library; the folder watcher of the file list
// posts no change of the folder meanwhile.
extern volatile BYTE LibWriting;

class TSaveLibThread : public CWinThread {
    DECLARE_DYNCREATE(TSaveLibThread)

public:
    TSaveLibThread();
    ~TSaveLibThread() override;

    // Starts a writer whose object its owner deletes through Stop; null
    // when the thread cannot be started.
    static TSaveLibThread* Start();
    // Ends the thread after the library being written (the queued ones are
    // dropped) and deletes the object; waits at most kStopTimeoutMs.
    void Stop();

    BOOL InitInstance() override;
    int Run() override;

    // Queues the records (TSingleImage*) of the folder; the writer owns them
    // from then on. False, the records staying with the caller, when the
    // request cannot be made.
    bool AddTask(const char* folder, CObArray* records, bool force, uint32_t width, uint32_t height);
    // Waits until the queue is empty and nothing is being written; false
    // after the timeout.
    bool WaitUntilIdle(DWORD timeoutMs) const;

    static const DWORD kStopTimeoutMs = 60000;

private:
    // The oldest request, taken out of the queue; null when it is empty.
    class TSaveLibTask* TakeOldest();
    void WriteOne(class TSaveLibTask& task);

    // The queue is shared with the task thread that appends to it: both hold
    // m_queueLock while they touch it, only for the append or the take.
    CObArray* m_queue;
    CCriticalSection m_queueLock;
    CWin32ThreadEvent* m_event;
    // Set while the queue is empty and no library is being written.
    HANDLE m_idle;
    volatile BYTE m_quit;
};
