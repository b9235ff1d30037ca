#include "platform/classlib/framewnd.h"
#include <commctrl.h>
#include "platform/classlib/menu.h"
#include "platform/classlib/module_state.h"
#include "platform/classlib/winapp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const char AFX_FRAME_CLASS[] = "HarbeckFrame";
const RECT CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CFrameWnd::OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &CFrameWnd::OnToolTipText)
END_MESSAGE_MAP()

// The text of a string resource up to its first '\n'; empty when missing.
static CString FirstPartOfString(UINT id)
{
    char text[512] = {};
    ::LoadStringA(AfxGetResourceHandle(), id, text, sizeof(text));
    if (char* newline = strchr(text, '\n'))
        *newline = '\0';
    return CString(text);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass) {
        if (!AfxRegisterNamedClass(AFX_FRAME_CLASS, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                   ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1),
                                   nullptr))
            return FALSE;
        cs.lpszClass = AFX_FRAME_CLASS;
    }
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent,
                       LPCSTR menuName, DWORD exStyle, CCreateContext* context)
{
    HMENU menu = nullptr;
    if (menuName) {
        menu = ::LoadMenuA(AfxGetResourceHandle(), menuName);
        if (!menu)
            return FALSE;
    }
    m_strTitle = title ? title : "";
    bool defaultPlace = rect.left == CW_USEDEFAULT;
    int width = defaultPlace ? CW_USEDEFAULT : rect.right - rect.left;
    int height = defaultPlace ? CW_USEDEFAULT : rect.bottom - rect.top;
    if (!CreateEx(exStyle, className, title, style, rect.left, rect.top, width, height,
                  parent ? parent->m_hWnd : nullptr, menu, context)) {
        if (menu)
            ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDHelp = resourceId;
    CString title = FirstPartOfString(resourceId);
    if (!Create(nullptr, title, style, rectDefault, parent, MAKEINTRESOURCEA(resourceId), 0, context))
        return FALSE;
    LoadAccelTable(MAKEINTRESOURCEA(resourceId));
    HINSTANCE resources = AfxGetResourceHandle();
    if (HICON icon = ::LoadIconA(resources, MAKEINTRESOURCEA(resourceId)))
        SetIcon(icon, TRUE);
    HICON smallIcon = (HICON)::LoadImageA(resources, MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                          ::GetSystemMetrics(SM_CXSMICON),
                                          ::GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    if (smallIcon)
        SetIcon(smallIcon, FALSE);
    OnUpdateFrameTitle(TRUE);
    if (!context)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR resourceName)
{
    if (m_hAccelTable)
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), resourceName);
    return m_hAccelTable != nullptr;
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext*)
{
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (!OnCreateClient(cs, static_cast<CCreateContext*>(cs->lpCreateParams)))
        return -1;
    RecalcLayout();
    return 0;
}

void CFrameWnd::OnClose()
{
    // Closing the main window ends the application (its window's end
    // posts WM_QUIT).
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* oldWindow)
{
    CWnd* view = GetActiveView();
    if (view && view->IsWindow())
        view->SetFocus();
    else
        CWnd::OnSetFocus(oldWindow);
}

void CFrameWnd::ActivateFrame(int cmdShow)
{
    if (cmdShow == -1)
        cmdShow = IsIconic() ? SW_RESTORE : (IsWindowVisible() ? SW_SHOW : SW_SHOWNORMAL);
    ShowWindow(cmdShow);
    if (IsWindowVisible())
        BringWindowToTop();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CString current;
    GetWindowText(current);
    if (current != m_strTitle)
        SetWindowText(m_strTitle);
}

void CFrameWnd::SetMessageText(LPCSTR text)
{
    SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)text);
}

void CFrameWnd::SetMessageText(UINT id)
{
    SendMessage(WM_SETMESSAGESTRING, id, 0);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM id, LPARAM text)
{
    HWND bar = ::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR);
    if (!bar)
        return 0;
    if (text) {
        ::SetWindowTextA(bar, (LPCSTR)text);
    } else {
        CString prompt = id ? FirstPartOfString((UINT)id) : CString();
        ::SetWindowTextA(bar, prompt);
    }
    return 0;
}

CWnd* CFrameWnd::GetActiveView() const
{
    return FromHandlePermanent(m_hWndActiveView);
}

void CFrameWnd::SetActiveView(CWnd* view)
{
    m_hWndActiveView = view ? view->m_hWnd : nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CWnd* view = GetActiveView();
    if (view && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return CWnd::PreTranslateMessage(msg);
    // Only a top-level frame translates its accelerators, and not while it
    // is disabled (a modal dialog runs over it).
    if ((GetStyle() & WS_CHILD) || !IsWindowEnabled())
        return FALSE;
    return m_hAccelTable && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg);
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu)
{
    if (sysMenu)
        return;
    CCmdUI state;
    state.m_pMenu = popup;
    state.m_nIndexMax = popup->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = popup->GetMenuItemID(state.m_nIndex);
        // Separators and pop-ups have no command of their own.
        if (state.m_nID == 0 || state.m_nID == (UINT)-1)
            continue;
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        // An update handler may have added or removed items.
        state.m_nIndexMax = popup->GetMenuItemCount();
    }
}
