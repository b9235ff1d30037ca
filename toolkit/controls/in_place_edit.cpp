#include "toolkit/controls/in_place_edit.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CInPlaceEdit, CEdit)

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
    ON_WM_CREATE()
    ON_WM_CHAR()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

namespace {
const int kTextMargin = 5;
}

CInPlaceEdit::CInPlaceEdit(int row, int column, LPCSTR text) : m_row(row), m_column(column), m_initialText(text)
{
}

int CInPlaceEdit::OnCreate(LPCREATESTRUCT cs)
{
    if (CEdit::OnCreate(cs) == -1)
        return -1;
    CWnd* parent = GetParent();
    SetFont(parent ? parent->GetFont() : nullptr);
    SetWindowText(m_initialText);
    SetFocus();
    SendMessage(EM_SETSEL, 0, -1);
    SendMessage(EM_SCROLLCARET);
    return 0;
}

// Keys that a dialog or an accelerator table would take go to the edit.
BOOL CInPlaceEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->hwnd == m_hWnd &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_DELETE || msg->wParam == VK_ESCAPE ||
         (::GetKeyState(VK_CONTROL) & 0x8000))) {
        ::TranslateMessage(msg);
        ::DispatchMessageA(msg);
        return TRUE;
    }
    return CEdit::PreTranslateMessage(msg);
}

void CInPlaceEdit::OnChar(UINT ch, UINT, UINT)
{
    if (ch == VK_ESCAPE || ch == VK_RETURN) {
        if (ch == VK_ESCAPE)
            m_cancelled = true;
        if (CWnd* parent = GetParent())
            parent->SetFocus();
        return;
    }
    Default();
    WidenToText();
}

void CInPlaceEdit::WidenToText()
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CString text;
    GetWindowText(text);
    CClientDC dc(this);
    CFont* oldFont = dc.SelectObject(parent->GetFont());
    CSize extent = dc.GetTextExtent(text);
    dc.SelectObject(oldFont);

    CRect edit;
    GetWindowRect(&edit);
    parent->ScreenToClient(&edit);
    if (extent.cx + kTextMargin <= edit.Width())
        return;
    CRect parentClient;
    parent->GetClientRect(&parentClient);
    int right = std::min<int>(edit.left + extent.cx + kTextMargin, parentClient.right);
    if (right > edit.right)
        SetWindowPos((HWND) nullptr, 0, 0, right - edit.left, edit.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CInPlaceEdit::OnKillFocus(CWnd* newWindow)
{
    CEdit::OnKillFocus(newWindow);
    CString text;
    GetWindowText(text);
    CWnd* list = GetParent();
    CWnd* listParent = list ? list->GetParent() : nullptr;
    if (listParent) {
        NMLVDISPINFOA info = {};
        info.hdr.hwndFrom = list->m_hWnd;
        info.hdr.idFrom = (UINT_PTR)(UINT)GetDlgCtrlID();
        info.hdr.code = LVN_ENDLABELEDITA;
        info.item.mask = LVIF_TEXT;
        info.item.iItem = m_row;
        info.item.iSubItem = m_column;
        info.item.pszText = m_cancelled ? nullptr : text.GetBuffer();
        info.item.cchTextMax = text.GetLength();
        listParent->SendMessage(WM_NOTIFY, list->GetDlgCtrlID(), (LPARAM)&info);
        text.ReleaseBuffer();
    }
    DestroyWindow();
}

void CInPlaceEdit::PostNcDestroy()
{
    delete this;
}
