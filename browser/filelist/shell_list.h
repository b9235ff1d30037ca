// The browse frame's file list: its thumbnail generation on the task thread.
#pragma once
#include <windows.h>

class CIEShellListCtrl {
public:
    CIEShellListCtrl();

    // Stops the running thumbnail task and waits, pumping messages, until
    // the task thread is idle again.
    void StopCurrentTask();
};
