// Helpers of the class library's window tests.
#pragma once
#include <windows.h>

namespace windowtest {

// Handles the calling thread's messages until done() holds or the time runs
// out; returns done().
template <typename Condition>
bool PumpUntil(Condition done, DWORD milliseconds = 5000)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return done();
            if (!AfxPreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (!done())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

// Removes what is left in the calling thread's queue (a WM_QUIT included).
inline void DrainQueue()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT)
            DispatchMessageA(&msg);
    }
}

}  // namespace windowtest
