// Waiting for a busy drawing thread before a view changes what it holds
// (after the options changed): the thread's notices are silenced and those
// already queued for the window are thrown away, so that none of them is
// handled after the wait.
#pragma once
#include <windows.h>

#include "drawing/draw_thread/draw_thread.h"

// Waits at most timeoutMs; true when the thread is idle at the end.
bool WaitDrawThreadIdle(TDwgDrawThread* thread, HWND window, DWORD timeoutMs = 10000);
