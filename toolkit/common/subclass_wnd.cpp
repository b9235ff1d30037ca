#include "toolkit/common/subclass_wnd.h"

#include "platform/classlib/callguard.h"
#include "platform/classlib/current_message.h"
#include "platform/classlib/threadstate.h"

IMPLEMENT_DYNAMIC(CSubclassWnd, CObject)

CSubclassWnd::~CSubclassWnd()
{
    Unhook();
}

BOOL CSubclassWnd::HookWindow(CWnd* window)
{
    return HookWindow(window ? window->m_hWnd : (HWND) nullptr);
}

BOOL CSubclassWnd::HookWindow(HWND window)
{
    if (!window)
        return Unhook();
    CSubclassWndMap::Instance().Add(window, this);
    m_window = window;
    return TRUE;
}

BOOL CSubclassWnd::Unhook()
{
    if (m_window) {
        CSubclassWndMap::Instance().Remove(this);
        m_priorProc = nullptr;
    }
    m_window = nullptr;
    return TRUE;
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_next)
        return m_next->WindowProc(message, wParam, lParam);
    return ::CallWindowProcA(m_priorProc, m_window, message, wParam, lParam);
}

LRESULT CSubclassWnd::Default()
{
    const MSG& current = AfxGetThreadState()->m_lastSentMsg;
    return CSubclassWnd::WindowProc(current.message, current.wParam, current.lParam);
}

// ---------------------------------------------------------------------------

CSubclassWndMap& CSubclassWndMap::Instance()
{
    static CSubclassWndMap map;
    return map;
}

CSubclassWnd* CSubclassWndMap::Lookup(HWND window) const
{
    void* head = nullptr;
    CMapPtrToPtr::Lookup(window, head);
    return static_cast<CSubclassWnd*>(head);
}

void CSubclassWndMap::Add(HWND window, CSubclassWnd* hook)
{
    CSubclassWnd* head = Lookup(window);
    hook->m_next = head;
    SetAt(window, hook);
    if (head)
        hook->m_priorProc = head->m_priorProc;
    else
        hook->m_priorProc = (WNDPROC)::SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)HookedWindowProc);
}

void CSubclassWndMap::Remove(CSubclassWnd* hook)
{
    HWND window = hook->m_window;
    CSubclassWnd* head = Lookup(window);
    if (!head)
        return;
    if (head == hook) {
        if (hook->m_next) {
            SetAt(window, hook->m_next);
        } else {
            RemoveKey(window);
            ::SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)hook->m_priorProc);
        }
        return;
    }
    for (CSubclassWnd* previous = head; previous->m_next; previous = previous->m_next) {
        if (previous->m_next == hook) {
            previous->m_next = hook->m_next;
            return;
        }
    }
}

void CSubclassWndMap::RemoveAll(HWND window)
{
    while (CSubclassWnd* head = Lookup(window))
        head->HookWindow((HWND) nullptr);
}

LRESULT CALLBACK HookedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // CSubclassWnd::Default reads the message being handled from the
    // thread's record.
    CCurrentMessageScope current(window, message, wParam, lParam);

    CSubclassWndMap& map = CSubclassWndMap::Instance();
    CSubclassWnd* head = map.Lookup(window);
    LRESULT result = 0;
    if (!head) {
        result = ::DefWindowProcA(window, message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        // Every hook leaves before the window's own procedure sees its end.
        WNDPROC prior = head->m_priorProc;
        map.RemoveAll(window);
        result = ::CallWindowProcA(prior, window, message, wParam, lParam);
    } else if (!AfxCallGuarded("a window hook", [&] { result = head->WindowProc(message, wParam, lParam); })) {
        result = 0;
    }
    return result;
}
