// The message a window procedure is handling, kept in the thread's record
// for the class library's routines (CWnd::Default and the like) while the
// procedure runs; the message handled before it comes back afterwards.
#pragma once
#include <windows.h>
#include "platform/classlib/threadstate.h"

class CCurrentMessageScope {
public:
    CCurrentMessageScope(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
        : m_state(AfxGetThreadState()), m_saved(m_state->m_lastSentMsg)
    {
        m_state->m_lastSentMsg.hwnd = window;
        m_state->m_lastSentMsg.message = message;
        m_state->m_lastSentMsg.wParam = wParam;
        m_state->m_lastSentMsg.lParam = lParam;
    }
    ~CCurrentMessageScope() { m_state->m_lastSentMsg = m_saved; }
    CCurrentMessageScope(const CCurrentMessageScope&) = delete;
    CCurrentMessageScope& operator=(const CCurrentMessageScope&) = delete;

private:
    AFX_THREAD_STATE* m_state;
    MSG m_saved;
};
