#include "platform/classlib/wnd.h"
#include <shellapi.h>
#include <algorithm>
#include "platform/classlib/callguard.h"
#include "platform/classlib/current_message.h"
#include "platform/classlib/dc.h"
#include "platform/classlib/framewnd.h"
#include "platform/classlib/gdiobj.h"
#include "platform/classlib/handlemap.h"
#include "platform/classlib/menu.h"
#include "platform/classlib/module_state.h"
#include "platform/classlib/winapp.h"
#include "platform/classlib/winthread.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const char AFX_WND_CLASS[] = "HarbeckWnd";

using WindowMap = HandleMap<HWND, CWnd, MemberHandleTraits<HWND, CWnd, CWnd, &CWnd::m_hWnd>>;

// ---------------------------------------------------------------------------
// Window classes.

BOOL AfxRegisterClass(WNDCLASSA* windowClass)
{
    WNDCLASSA existing;
    if (::GetClassInfoA(windowClass->hInstance, windowClass->lpszClassName, &existing))
        return TRUE;
    if (!windowClass->lpfnWndProc)
        windowClass->lpfnWndProc = AfxWndProc;
    if (::RegisterClassA(windowClass))
        return TRUE;
    // Another thread may have registered it in between.
    return ::GetClassInfoA(windowClass->hInstance, windowClass->lpszClassName, &existing);
}

BOOL AfxRegisterNamedClass(LPCSTR name, UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    WNDCLASSA windowClass = {};
    windowClass.style = classStyle;
    windowClass.hInstance = AfxGetInstanceHandle();
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    return AfxRegisterClass(&windowClass);
}

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // The name is made from the attributes, so equal requests share a class.
    static thread_local char name[96];
    wsprintfA(name, "Harbeck:%p:%x:%p:%p:%p", (void*)AfxGetInstanceHandle(), classStyle, (void*)cursor,
              (void*)background, (void*)icon);
    return AfxRegisterNamedClass(name, classStyle, cursor, background, icon) ? name : nullptr;
}

// ---------------------------------------------------------------------------
// The window procedure and the creation hook.

LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(window);
    if (!wnd)
        return ::DefWindowProcA(window, message, wParam, lParam);
    return AfxCallWndProc(wnd, window, message, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* wnd, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CCurrentMessageScope current(window, message, wParam, lParam);
    LRESULT result = 0;
    if (!AfxCallGuarded("a message handler", [&] { result = wnd->WindowProc(message, wParam, lParam); }))
        result = (message == WM_CREATE) ? -1 : 0;
    if (message == WM_NCDESTROY)
        wnd->FinishNcDestroy();
    return result;
}

LRESULT CALLBACK AfxCreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (code == HCBT_CREATEWND && state->m_pWndInit) {
        CWnd* wnd = state->m_pWndInit;
        state->m_pWndInit = nullptr;
        wnd->AttachCreatedWindow((HWND)wParam);
    }
    return ::CallNextHookEx(state->m_hHookCreate, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* wnd)
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (!state->m_hHookCreate)
        state->m_hHookCreate = ::SetWindowsHookExA(WH_CBT, AfxCreationHook, nullptr, ::GetCurrentThreadId());
    state->m_pWndInit = wnd;
}

void AfxUnhookWindowCreate()
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_hHookCreate) {
        ::UnhookWindowsHookEx(state->m_hHookCreate);
        state->m_hHookCreate = nullptr;
    }
    state->m_pWndInit = nullptr;
}

void CWnd::AttachCreatedWindow(HWND window)
{
    Attach(window);
    PreSubclassWindow();
    WNDPROC current = (WNDPROC)::GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (current != AfxWndProc) {
        m_pfnSuper = current;
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    }
}

// After the window's last message: give back the procedure, forget the
// handle, and let the object end itself unless its creation failed.
void CWnd::FinishNcDestroy()
{
    if (m_pfnSuper) {
        if ((WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == AfxWndProc)
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
        m_pfnSuper = nullptr;
    }
    CWinThread* thread = AfxGetThread();
    if (thread && thread->m_pMainWnd == this) {
        ::PostQuitMessage(0);
        thread->m_pMainWnd = nullptr;
    }
    if (thread && thread->m_pActiveWnd == this)
        thread->m_pActiveWnd = nullptr;
    Detach();
    if (!m_bCreating)
        PostNcDestroy();
}

// ---------------------------------------------------------------------------
// Handle map.

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_hWnd)
        Detach();
}

CWnd* CWnd::FromHandle(HWND window)
{
    return WindowMap::ForThread().FromHandle(window);
}

CWnd* CWnd::FromHandlePermanent(HWND window)
{
    return window ? WindowMap::ForThread().LookupPermanent(window) : nullptr;
}

void CWnd::DeleteTempMap()
{
    WindowMap::ForThread().DeleteTemporaries();
}

BOOL CWnd::Attach(HWND window)
{
    return WindowMap::ForThread().AttachOwner(m_hWnd, window, this);
}

HWND CWnd::Detach()
{
    return WindowMap::ForThread().DetachOwner(m_hWnd, this);
}

BOOL CWnd::SubclassWindow(HWND window)
{
    if (!Attach(window))
        return FALSE;
    PreSubclassWindow();
    WNDPROC previous = (WNDPROC)::SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (previous != AfxWndProc)
        m_pfnSuper = previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND control = ::GetDlgItem(parent->m_hWnd, id);
    return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
        m_pfnSuper = nullptr;
    }
    return Detach();
}

void CWnd::PreSubclassWindow()
{
}

// ---------------------------------------------------------------------------
// Creation and destruction.

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, CCreateContext* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    parent ? parent->m_hWnd : nullptr, (HMENU)(UINT_PTR)id, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, LPVOID param)
{
    if (m_hWnd)
        return FALSE;
    CREATESTRUCTA cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return FALSE;
    m_bCreating = TRUE;
    AfxHookWindowCreate(this);
    HWND window = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                    cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                    cs.lpCreateParams);
    AfxUnhookWindowCreate();
    m_bCreating = FALSE;
    return window != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass) {
        if (!AfxRegisterNamedClass(AFX_WND_CLASS, CS_DBLCLKS, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                   nullptr, nullptr))
            return FALSE;
        cs.lpszClass = AFX_WND_CLASS;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

void CWnd::PostNcDestroy()
{
}

// ---------------------------------------------------------------------------
// Message handling.

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    for (HWND window = msg->hwnd; window; window = ::GetParent(window)) {
        CWnd* wnd = FromHandlePermanent(window);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (window == stop)
            break;
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT answer = 0;
    BOOL handled = FALSE;
    if (message == WM_COMMAND) {
        handled = OnCommand(wParam, lParam);
        answer = handled ? 1 : 0;
    } else if (message == WM_NOTIFY) {
        NMHDR* header = (NMHDR*)lParam;
        if (header && header->hwndFrom)
            handled = OnNotify(wParam, lParam, &answer);
    } else {
        // Every WM_CTLCOLORxxx is listed once, as WM_CTLCOLOR.
        UINT lookup = message;
        UINT code = 0;
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            lookup = WM_CTLCOLOR;
            code = message - WM_CTLCOLORMSGBOX;
        }
        const MessageMapEntry* entry = FindMessageEntry(GetMessageMap(), lookup, 0, 0);
        if (entry) {
            MessageCall call = {lookup, wParam, lParam, 0, code, nullptr, 0};
            handled = entry->invoke(this, entry->handler, call);
            answer = call.result;
        }
    }
    if (result)
        *result = answer;
    return handled;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& current = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

// Update state of a command, recorded without any user interface.
namespace {
class CommandEnabledState : public CCmdUI {
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL on) override
    {
        m_bEnabled = on;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
};
}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    HWND control = (HWND)lParam;
    int code = HIWORD(wParam);
    if (!control) {
        // A menu item or accelerator: an update handler that disables the
        // command keeps it from running.
        CommandEnabledState state;
        state.m_nID = id;
        OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        code = CN_COMMAND;
    } else {
        if (ReflectLastMsg(control))
            return TRUE;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    NMHDR* header = (NMHDR*)lParam;
    if (ReflectLastMsg(header->hwndFrom, result))
        return TRUE;
    AFX_NOTIFY notify = {result, header};
    return OnCmdMsg((UINT)header->idFrom, MAKELONG(header->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND child, LRESULT* result)
{
    CWnd* wnd = FromHandlePermanent(child);
    if (!wnd)
        return FALSE;
    const MSG& current = AfxGetThreadState()->m_lastSentMsg;
    LRESULT ignored = 0;
    return wnd->OnChildNotify(current.message, current.wParam, current.lParam,
                              result ? result : &ignored);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT ignored = 0;
    if (!result)
        result = &ignored;
    switch (message) {
    case WM_COMMAND:
        if (OnCmdMsg(0, MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
            *result = 1;
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        NMHDR* header = (NMHDR*)lParam;
        AFX_NOTIFY notify = {result, header};
        return OnCmdMsg(0, MAKELONG(header->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // A null brush means the control left the colours to its parent.
        return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, wParam, message - WM_CTLCOLORMSGBOX, result) &&
               *result != 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, result);
    default:
        return FALSE;
    }
}

// ---------------------------------------------------------------------------
// Modal loop.

int CWnd::RunModalLoop()
{
    m_bInModalLoop = TRUE;
    m_nModalResult = -1;
    HWND window = m_hWnd;
    while (ContinueModal() && ::IsWindow(window)) {
        MSG msg;
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Leave the quit request for the loop that owns the thread.
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (got < 0)
            break;
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_bInModalLoop = FALSE;
    return m_nModalResult;
}

BOOL CWnd::ContinueModal()
{
    return m_bInModalLoop;
}

void CWnd::EndModalLoop(int result)
{
    m_nModalResult = result;
    if (m_bInModalLoop) {
        m_bInModalLoop = FALSE;
        // Wake the loop in case it waits for a message.
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

// ---------------------------------------------------------------------------
// Relatives and attributes.

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* parent = GetParent(); parent; parent = parent->GetParent()) {
        if (parent->IsFrameWnd())
            return static_cast<CFrameWnd*>(parent);
    }
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND top = m_hWnd;
    for (HWND parent = top; parent; parent = ::GetParent(parent)) {
        top = parent;
        if (!(::GetWindowLongA(parent, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FromHandle(top);
}

static BOOL ModifyWindowLong(HWND window, int index, DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = (DWORD)::GetWindowLongA(window, index);
    DWORD changed = (style & ~remove) | add;
    if (style == changed)
        return FALSE;
    ::SetWindowLongA(window, index, (LONG)changed);
    if (swpFlags)
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyWindowLong(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    LPSTR buffer = text.GetBuffer(length + 1);
    ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND control = ::GetDlgItem(m_hWnd, id);
    if (!control) {
        text.Empty();
        return 0;
    }
    FromHandle(control)->GetWindowText(text);
    return text.GetLength();
}

int CWnd::GetCheckedRadioButton(int firstId, int lastId) const
{
    for (int id = firstId; id <= lastId; ++id) {
        if (::IsDlgButtonChecked(m_hWnd, id))
            return id;
    }
    return 0;
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)(font ? font->m_hObject : nullptr), redraw);
}

CFont* CWnd::GetFont() const
{
    HFONT font = (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0);
    return font ? CFont::FromHandle(font) : nullptr;
}

CMenu* CWnd::GetMenu() const
{
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}

BOOL CWnd::SetMenu(CMenu* menu)
{
    return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr);
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert));
}

static void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, BOOL deep)
{
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(child))
            AfxCallWndProc(wnd, child, message, wParam, lParam);
        else
            ::SendMessageA(child, message, wParam, lParam);
        if (deep)
            SendToDescendants(child, message, wParam, lParam, TRUE);
    }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) const
{
    SendToDescendants(m_hWnd, message, wParam, lParam, deep);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    RECT area;
    HWND owner = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD)
        owner = ::GetParent(m_hWnd);
    if (owner && (GetStyle() & WS_CHILD)) {
        ::GetClientRect(owner, &area);
    } else if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT mine;
    ::GetWindowRect(m_hWnd, &mine);
    int width = mine.right - mine.left;
    int height = mine.bottom - mine.top;
    int x = (area.left + area.right - width) / 2;
    int y = (area.top + area.bottom - height) / 2;
    if (!(GetStyle() & WS_CHILD)) {
        // Keep the window on the work area.
        RECT work;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        x = std::max(std::min(x, (int)work.right - width), (int)work.left);
        y = std::max(std::min(y, (int)work.bottom - height), (int)work.top);
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    ::ScreenToClient(m_hWnd, (LPPOINT)rect);
    ::ScreenToClient(m_hWnd, ((LPPOINT)rect) + 1);
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    ::ClientToScreen(m_hWnd, (LPPOINT)rect);
    ::ClientToScreen(m_hWnd, ((LPPOINT)rect) + 1);
}

CDC* CWnd::GetDC()
{
    return CDC::FromHandle(::GetDC(m_hWnd));
}

CDC* CWnd::GetWindowDC()
{
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* dc)
{
    return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0;
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) const
{
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw)
{
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

void CWnd::DragAcceptFiles(BOOL accept)
{
    ::DragAcceptFiles(m_hWnd, accept);
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type)
{
    if (!caption) {
        CWinApp* app = AfxGetApp();
        caption = app && app->m_pszAppName ? app->m_pszAppName : nullptr;
    }
    return ::MessageBoxA(m_hWnd, text, caption, type);
}
