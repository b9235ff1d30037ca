// The thumbnail task thread: makes the thumbnails of the folder shown in
// the file list, one task at a time, and suspends itself between folders.
#pragma once
#include <windows.h>

#include "drawing/common_thread.h"

class TTaskManageThread : public CDrawCommonThread {
public:
    TTaskManageThread();
    ~TTaskManageThread() override;

    DWORD Run() override;

    // Stops the thumbnail being made: the abort flag, which the drawing
    // library's abort query reads.
    void Cancel();

    static char AbortQuery(void* thread);

    // Removes the thread's thumbnail messages still queued for the calling
    // thread's windows (used while waiting for the thread to stop).
    static void DropPostedMessages();

    volatile BYTE m_abort;
    volatile BYTE m_regenerateAll;
};
