#include "platform/classlib/msgbox.h"
#include "platform/classlib/module_state.h"
#include "platform/classlib/winapp.h"
#include "platform/classlib/wnd.h"

static UINT WithDefaultIcon(UINT type)
{
    if (type & MB_ICONMASK)
        return type;
    UINT buttons = type & MB_TYPEMASK;
    if (buttons == MB_OK || buttons == MB_OKCANCEL)
        return type | MB_ICONEXCLAMATION;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
        return type | MB_ICONQUESTION;
    return type;
}

// The main window's most recent popup (a dialog it runs), else the main
// window; null when there is no main window.
static HWND MessageBoxOwner()
{
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->m_hWnd)
        return nullptr;
    return ::GetLastActivePopup(main->m_hWnd);
}

int CWinApp::DoMessageBox(LPCSTR prompt, UINT type, UINT)
{
    return ::MessageBoxA(MessageBoxOwner(), prompt, m_pszAppName, WithDefaultIcon(type));
}

int AfxMessageBox(LPCSTR text, UINT type, UINT helpId)
{
    if (CWinApp* app = AfxGetApp())
        return app->DoMessageBox(text, type, helpId);
    return ::MessageBoxA(MessageBoxOwner(), text, nullptr, WithDefaultIcon(type));
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    char text[1024] = {};
    if (::LoadStringA(AfxGetResourceHandle(), promptId, text, sizeof(text)) <= 0)
        return 0;
    return AfxMessageBox(text, type, helpId == (UINT)-1 ? promptId : helpId);
}
