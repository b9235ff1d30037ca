// Invokers of window-message handlers: each cracks wParam and lParam into
// the handler's arguments and stores the handler's answer as the result.
#include "platform/classlib/msgmap.h"
#include "platform/classlib/dc.h"
#include "platform/classlib/menu.h"
#include "platform/classlib/scrollbar.h"
#include "platform/classlib/wnd.h"

namespace msgsig {

static CWnd* Window(CCmdTarget* target)
{
    return static_cast<CWnd*>(target);
}

static CWnd* WindowOf(WPARAM handle)
{
    return CWnd::FromHandle((HWND)handle);
}

static CPoint PointOf(LPARAM lParam)
{
    return CPoint((short)LOWORD(lParam), (short)HIWORD(lParam));
}

// A scroll message's control, or null when it comes from a window's own bar.
static CScrollBar* ScrollBarOf(LPARAM lParam)
{
    return static_cast<CScrollBar*>(CWnd::FromHandle((HWND)lParam));
}

BOOL V_V(CCmdTarget* t, AFX_PMSG h, MessageCall&)
{
    (Window(t)->*As<void (CWnd::*)()>(h))();
    return TRUE;
}

BOOL I_CREATESTRUCT(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<int (CWnd::*)(LPCREATESTRUCT)>(h))((LPCREATESTRUCT)c.lParam);
    return TRUE;
}

BOOL B_CREATESTRUCT(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<BOOL (CWnd::*)(LPCREATESTRUCT)>(h))((LPCREATESTRUCT)c.lParam);
    return TRUE;
}

BOOL V_U_I_I(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(UINT, int, int)>(h))((UINT)c.wParam, (short)LOWORD(c.lParam),
                                                         (short)HIWORD(c.lParam));
    return TRUE;
}

BOOL V_I_I(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(int, int)>(h))((short)LOWORD(c.lParam), (short)HIWORD(c.lParam));
    return TRUE;
}

BOOL B_DC(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<BOOL (CWnd::*)(CDC*)>(h))(CDC::FromHandle((HDC)c.wParam));
    return TRUE;
}

BOOL V_TIMER(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(UINT_PTR)>(h))((UINT_PTR)c.wParam);
    return TRUE;
}

BOOL V_U_POINT(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(UINT, CPoint)>(h))((UINT)c.wParam, PointOf(c.lParam));
    return TRUE;
}

BOOL B_U_S_POINT(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<BOOL (CWnd::*)(UINT, short, CPoint)>(h))(
        LOWORD(c.wParam), (short)HIWORD(c.wParam), PointOf(c.lParam));
    return TRUE;
}

BOOL V_U_U_U(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(UINT, UINT, UINT)>(h))((UINT)c.wParam, LOWORD(c.lParam),
                                                           HIWORD(c.lParam));
    return TRUE;
}

BOOL V_WND(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    // WM_CAPTURECHANGED names the window in lParam, the focus messages in wParam.
    WPARAM handle = c.message == WM_CAPTURECHANGED ? (WPARAM)c.lParam : c.wParam;
    (Window(t)->*As<void (CWnd::*)(CWnd*)>(h))(WindowOf(handle));
    return TRUE;
}

BOOL B_WND_U_U(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(h))(
        WindowOf(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam));
    return TRUE;
}

BOOL I_WND_U_U(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<int (CWnd::*)(CWnd*, UINT, UINT)>(h))(
        WindowOf(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam));
    return TRUE;
}

BOOL V_U_U_SCROLL(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(UINT, UINT, CScrollBar*)>(h))(
        LOWORD(c.wParam), HIWORD(c.wParam), ScrollBarOf(c.lParam));
    return TRUE;
}

BOOL V_U_U(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(UINT, UINT)>(h))(LOWORD(c.wParam), HIWORD(c.wParam));
    return TRUE;
}

BOOL V_U_WND_B(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(UINT, CWnd*, BOOL)>(h))(LOWORD(c.wParam), WindowOf((WPARAM)c.lParam),
                                                            HIWORD(c.wParam) != 0);
    return TRUE;
}

BOOL V_B_DW(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(BOOL, DWORD)>(h))((BOOL)c.wParam, (DWORD)c.lParam);
    return TRUE;
}

BOOL V_B(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(BOOL)>(h))((BOOL)c.wParam);
    return TRUE;
}

BOOL V_B_U(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(BOOL, UINT)>(h))((BOOL)c.wParam, (UINT)c.lParam);
    return TRUE;
}

BOOL V_MINMAXINFO(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(MINMAXINFO*)>(h))((MINMAXINFO*)c.lParam);
    return TRUE;
}

BOOL V_WND_POINT(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(CWnd*, CPoint)>(h))(WindowOf(c.wParam), PointOf(c.lParam));
    return TRUE;
}

BOOL V_HDROP(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(HDROP)>(h))((HDROP)c.wParam);
    return TRUE;
}

BOOL L_POINT(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<LRESULT (CWnd::*)(CPoint)>(h))(PointOf(c.lParam));
    return TRUE;
}

BOOL V_U_L(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(UINT, LPARAM)>(h))((UINT)c.wParam, c.lParam);
    return TRUE;
}

BOOL H_DC_WND_U(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (LRESULT)(Window(t)->*As<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(h))(
        CDC::FromHandle((HDC)c.wParam), WindowOf((WPARAM)c.lParam), c.code);
    return TRUE;
}

BOOL H_DC_U(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (LRESULT)(Window(t)->*As<HBRUSH (CWnd::*)(CDC*, UINT)>(h))(
        CDC::FromHandle((HDC)c.wParam), (UINT)c.lParam);
    return TRUE;
}

BOOL V_I_DRAWITEM(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(h))((int)c.wParam, (LPDRAWITEMSTRUCT)c.lParam);
    c.result = TRUE;
    return TRUE;
}

BOOL V_I_MEASUREITEM(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(int, LPMEASUREITEMSTRUCT)>(h))((int)c.wParam,
                                                                    (LPMEASUREITEMSTRUCT)c.lParam);
    c.result = TRUE;
    return TRUE;
}

BOOL I_I_COMPAREITEM(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<int (CWnd::*)(int, LPCOMPAREITEMSTRUCT)>(h))(
        (int)c.wParam, (LPCOMPAREITEMSTRUCT)c.lParam);
    return TRUE;
}

BOOL V_I_DELETEITEM(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(int, LPDELETEITEMSTRUCT)>(h))((int)c.wParam,
                                                                   (LPDELETEITEMSTRUCT)c.lParam);
    c.result = TRUE;
    return TRUE;
}

BOOL V_MENU_U_B(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(CMenu*, UINT, BOOL)>(h))(
        CMenu::FromHandle((HMENU)c.wParam), LOWORD(c.lParam), HIWORD(c.lParam) != 0);
    return TRUE;
}

BOOL V_U_U_HMENU(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(UINT, UINT, HMENU)>(h))(LOWORD(c.wParam), HIWORD(c.wParam),
                                                            (HMENU)c.lParam);
    return TRUE;
}

BOOL L_U_U_MENU(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<LRESULT (CWnd::*)(UINT, UINT, CMenu*)>(h))(
        LOWORD(c.wParam), HIWORD(c.wParam), CMenu::FromHandle((HMENU)c.lParam));
    return TRUE;
}

BOOL V_WINDOWPOS(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(WINDOWPOS*)>(h))((WINDOWPOS*)c.lParam);
    return TRUE;
}

BOOL V_B_NCCALCSIZE(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*)>(h))((BOOL)c.wParam,
                                                                   (NCCALCSIZE_PARAMS*)c.lParam);
    return TRUE;
}

BOOL V_U_STR(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    (Window(t)->*As<void (CWnd::*)(UINT, LPCSTR)>(h))((UINT)c.wParam, (LPCSTR)c.lParam);
    return TRUE;
}

BOOL B_U_DW(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<BOOL (CWnd::*)(UINT, DWORD_PTR)>(h))((UINT)c.wParam, (DWORD_PTR)c.lParam);
    return TRUE;
}

BOOL U_V(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<UINT (CWnd::*)()>(h))();
    return TRUE;
}

BOOL L_W_L(CCmdTarget* t, AFX_PMSG h, MessageCall& c)
{
    c.result = (Window(t)->*As<LRESULT (CWnd::*)(WPARAM, LPARAM)>(h))(c.wParam, c.lParam);
    return TRUE;
}

}  // namespace msgsig
