#include "platform/classlib/ctrl_common.h"

#include "platform/classlib/module_state.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)

LONG CTabCtrl::InsertItem(int index, LPCSTR text, int image)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT | (image >= 0 ? TCIF_IMAGE : 0);
    item.pszText = (LPSTR)text;
    item.iImage = image;
    return (LONG)SendMessage(TCM_INSERTITEMA, (WPARAM)index, (LPARAM)&item);
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CWnd::CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, nullptr);
}

void CToolTipCtrl::FillToolInfo(TOOLINFOA& info, CWnd* window, UINT_PTR toolId) const
{
    info = TOOLINFOA();
    info.cbSize = sizeof(info);
    info.hwnd = window ? window->m_hWnd : nullptr;
    info.uId = toolId;
    if (toolId == 0) {
        // A tool without an id is the whole window.
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.uId = (UINT_PTR)info.hwnd;
        info.hwnd = window && window->GetParent() ? window->GetParent()->m_hWnd : info.hwnd;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* window, LPCSTR text, LPCRECT rect, UINT_PTR toolId)
{
    TOOLINFOA info;
    FillToolInfo(info, window, toolId);
    if (rect)
        info.rect = *rect;
    else if (toolId != 0 && window)
        ::GetClientRect(window->m_hWnd, &info.rect);
    if (toolId != 0)
        info.uFlags |= TTF_SUBCLASS;
    info.lpszText = (LPSTR)(text ? text : LPSTR_TEXTCALLBACKA);
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&info);
}

void CToolTipCtrl::DelTool(CWnd* window, UINT_PTR toolId)
{
    TOOLINFOA info;
    FillToolInfo(info, window, toolId);
    SendMessage(TTM_DELTOOLA, 0, (LPARAM)&info);
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* window, UINT_PTR toolId)
{
    TOOLINFOA info;
    FillToolInfo(info, window, toolId);
    info.lpszText = (LPSTR)text;
    SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&info);
}

BOOL CToolBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, style, rect, parent, id))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

void CToolBarCtrl::SaveState(HKEY root, LPCSTR subKey, LPCSTR valueName)
{
    TBSAVEPARAMSA params = {root, (LPSTR)subKey, (LPSTR)valueName};
    SendMessage(TB_SAVERESTOREA, TRUE, (LPARAM)&params);
}

void CToolBarCtrl::RestoreState(HKEY root, LPCSTR subKey, LPCSTR valueName)
{
    TBSAVEPARAMSA params = {root, (LPSTR)subKey, (LPSTR)valueName};
    SendMessage(TB_SAVERESTOREA, FALSE, (LPARAM)&params);
}

int CToolBarCtrl::AddBitmap(int count, UINT bitmapId)
{
    TBADDBITMAP bitmap = {AfxGetResourceHandle(), bitmapId};
    return (int)SendMessage(TB_ADDBITMAP, (WPARAM)count, (LPARAM)&bitmap);
}

CString CStatusBarCtrl::GetText(int pane, int* type) const
{
    // SB_GETTEXTA takes no buffer size: make room for the longest ANSI form
    // of the pane's characters (two bytes each in a double-byte code page).
    DWORD answer = (DWORD)SendMessage(SB_GETTEXTLENGTHW, (WPARAM)pane);
    int characters = LOWORD(answer);
    CString text;
    char* buffer = text.GetBuffer(characters * 2 + 1);
    buffer[0] = 0;
    SendMessage(SB_GETTEXTA, (WPARAM)pane, (LPARAM)buffer);
    text.ReleaseBuffer(-1);
    if (type)
        *type = HIWORD(answer);
    return text;
}
