// CWnd: a window object. Every window the library creates or subclasses
// has the window procedure AfxWndProc, which finds the window's object in
// this thread's handle map and hands the message to WindowProc:
//
//   WindowProc -> OnWndMsg -> (WM_COMMAND: OnCommand -> OnCmdMsg,
//                              WM_NOTIFY: OnNotify -> OnCmdMsg,
//                              else the message map) -> DefWindowProc
//
// A control's WM_COMMAND and WM_NOTIFY are first offered back to the
// control's own object (reflection, OnChildNotify); WM_CTLCOLOR, WM_DRAWITEM,
// WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM and scroll messages are
// reflected by CWnd's default handlers when the parent does not handle them.
#pragma once
#include <windows.h>
#include "platform/classlib/cmdtarget.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/geometry.h"

class CDC;
class CFont;
class CFrameWnd;
class CMenu;
class CScrollBar;

// Passed by frames to the windows they create (views and panes).
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers, once per process, a window class with AfxWndProc and the
// given style, cursor, background and icon; returns its generated name.
LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                           HICON icon = nullptr);

// Registers, once per process, a class of that name with AfxWndProc and
// the given attributes; TRUE when the class exists afterwards.
BOOL AfxRegisterNamedClass(LPCSTR name, UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon);

// Registers the class unless a class of that name exists; the procedure is
// set to AfxWndProc when none is given. TRUE when the class exists afterwards.
BOOL AfxRegisterClass(WNDCLASSA* windowClass);

// The name of the library's plain child window class (AfxWndProc, arrow
// cursor, no background).
extern const char AFX_WND_CLASS[];

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    // Destroys the window when this object still owns it.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    // The object owning the handle on this thread, else a temporary wrapper
    // (deleted at idle time; do not keep it).
    static CWnd* FromHandle(HWND window);
    // The object owning the handle on this thread, else null.
    static CWnd* FromHandlePermanent(HWND window);
    static void DeleteTempMap();

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Attach makes this object own an existing window without seeing its
    // messages; SubclassWindow also routes its messages through the map.
    BOOL Attach(HWND window);
    HWND Detach();
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Creation. A failed creation leaves the object to its creator.
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, CCreateContext* context = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menuOrId, LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    // Message handling.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Offers the message to PreTranslateMessage of its window and each
    // parent up to and including stop; TRUE when one took it.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Passes the message being handled on to DefWindowProc.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification a child control sent to its parent, offered to the
    // control's object first; TRUE when the control handled it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static BOOL ReflectLastMsg(HWND child, LRESULT* result = nullptr);

    // A modal loop on this window: runs until EndModalLoop.
    int RunModalLoop();
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int result);

    virtual BOOL IsFrameWnd() const { return FALSE; }
    CFrameWnd* GetParentFrame() const;
    CWnd* GetTopLevelParent() const;

    // Attributes and the common window calls.
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, id); }

    void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
    int GetWindowText(LPSTR text, int maxCount) const { return ::GetWindowTextA(m_hWnd, text, maxCount); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON icon, BOOL big)
    {
        return (HICON)::SendMessageA(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, (LPARAM)icon);
    }
    HICON GetIcon(BOOL big) const
    {
        return (HICON)::SendMessageA(m_hWnd, WM_GETICON, big ? ICON_BIG : ICON_SMALL, 0);
    }
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* menu);
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    CMenu* GetSystemMenu(BOOL revert) const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    // Sends the message to every child (and with deep to their children);
    // windows with an object of this thread get it through their object
    // directly.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL deep = TRUE) const;

    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE)
    {
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
    }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, width, height, flags);
    }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, width, height, flags);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const
    {
        placement->length = sizeof(WINDOWPLACEMENT);
        return ::GetWindowPlacement(m_hWnd, placement);
    }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement)
    {
        return ::SetWindowPlacement(m_hWnd, placement);
    }
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }

    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    void ClientToScreen(LPRECT rect) const;
    void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const
    {
        ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, points, count);
    }
    void MapWindowPoints(CWnd* to, LPRECT rect) const
    {
        ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, (LPPOINT)rect, 2);
    }

    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, rect, region, flags);
    }
    void SetRedraw(BOOL redraw = TRUE) { ::SendMessageA(m_hWnd, WM_SETREDRAW, redraw, 0); }

    // A device context of the window, as a temporary wrapper; give it back
    // with ReleaseDC.
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* dc);

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC function = nullptr)
    {
        return ::SetTimer(m_hWnd, id, elapse, function);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }

    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent ? parent->m_hWnd : nullptr)); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    CWnd* GetWindow(UINT command) const { return FromHandle(::GetWindow(m_hWnd, command)); }
    BOOL IsChild(const CWnd* window) const { return window && ::IsChild(m_hWnd, window->m_hWnd); }

    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    void SetDlgItemText(int id, LPCSTR text) { ::SetDlgItemTextA(m_hWnd, id, text); }
    int GetDlgItemText(int id, LPSTR text, int maxCount) const
    {
        return ::GetDlgItemTextA(m_hWnd, id, text, maxCount);
    }
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
    }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckRadioButton(int firstId, int lastId, int checkId)
    {
        ::CheckRadioButton(m_hWnd, firstId, lastId, checkId);
    }
    int GetCheckedRadioButton(int firstId, int lastId) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
    }

    int GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
    int SetScrollPos(int bar, int position, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, bar, position, redraw); }
    void GetScrollRange(int bar, LPINT minimum, LPINT maximum) const { ::GetScrollRange(m_hWnd, bar, minimum, maximum); }
    void SetScrollRange(int bar, int minimum, int maximum, BOOL redraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, bar, minimum, maximum, redraw);
    }
    BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL) const;
    BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
    void ShowScrollBar(UINT bar, BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, bar, show); }

    void DragAcceptFiles(BOOL accept = TRUE);
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

protected:
    // Called before the window is created: change the creation values.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Called when the object starts to see a window's messages.
    virtual void PreSubclassWindow();
    // Called after the window's last message; objects made with new that
    // live as long as their window delete themselves here.
    virtual void PostNcDestroy();

    // Default message handlers: each passes its message on (Default), the
    // notification handlers after offering it to the control that sent it.
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnMButtonDown(UINT flags, CPoint point);
    afx_msg void OnMButtonUp(UINT flags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnNcMouseMove(UINT hitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    afx_msg void OnNcRButtonUp(UINT hitTest, CPoint point);
    afx_msg void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    afx_msg void OnKeyUp(UINT key, UINT repeatCount, UINT flags);
    afx_msg void OnSysKeyDown(UINT key, UINT repeatCount, UINT flags);
    afx_msg void OnSysKeyUp(UINT key, UINT repeatCount, UINT flags);
    afx_msg void OnChar(UINT key, UINT repeatCount, UINT flags);
    afx_msg void OnSysChar(UINT key, UINT repeatCount, UINT flags);
    afx_msg void OnSetFocus(CWnd* oldWindow);
    afx_msg void OnKillFocus(CWnd* newWindow);
    afx_msg void OnCaptureChanged(CWnd* window);
    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    afx_msg int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnActivateApp(BOOL active, DWORD threadId);
    afx_msg void OnEnable(BOOL enable);
    afx_msg void OnShowWindow(BOOL show, UINT status);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
    afx_msg void OnContextMenu(CWnd* window, CPoint point);
    afx_msg void OnDropFiles(HDROP drop);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* window, UINT ctlColor);
    afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    afx_msg void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);
    afx_msg int OnCompareItem(int id, LPCOMPAREITEMSTRUCT item);
    afx_msg void OnDeleteItem(int id, LPDELETEITEMSTRUCT item);
    afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    afx_msg void OnMenuSelect(UINT itemId, UINT flags, HMENU menu);
    afx_msg LRESULT OnMenuChar(UINT key, UINT flags, CMenu* menu);
    afx_msg void OnWindowPosChanged(WINDOWPOS* position);
    afx_msg void OnWindowPosChanging(WINDOWPOS* position);
    afx_msg void OnSettingChange(UINT flags, LPCSTR section);
    afx_msg void OnSysColorChange();
    afx_msg BOOL OnDeviceChange(UINT eventType, DWORD_PTR data);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnCancelMode();
    afx_msg void OnEnterSizeMove();
    afx_msg void OnExitSizeMove();

    // The procedure the window had before the library subclassed it.
    WNDPROC m_pfnSuper = nullptr;
    // Set while the window is being created by CreateEx; PostNcDestroy is
    // not called for a window whose creation fails.
    BOOL m_bCreating = FALSE;
    BOOL m_bInModalLoop = FALSE;
    int m_nModalResult = 0;

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT AfxCallWndProc(CWnd* wnd, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    friend LRESULT CALLBACK AfxCreationHook(int code, WPARAM wParam, LPARAM lParam);
    void AttachCreatedWindow(HWND window);
    void FinishNcDestroy();
};

// The next window the calling thread creates becomes wnd's window (its
// messages go through wnd's message map from the first one on). Nested
// creations are allowed; unhook when the creation call has returned.
void AfxHookWindowCreate(CWnd* wnd);
void AfxUnhookWindowCreate();

// Hands one message to the object's WindowProc with the thread's current
// message record set; used by AfxWndProc. No exception leaves it.
LRESULT AfxCallWndProc(CWnd* wnd, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
