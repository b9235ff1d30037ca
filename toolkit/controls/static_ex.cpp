#include "toolkit/controls/static_ex.h"

#include <utility>

IMPLEMENT_DYNAMIC(CStaticEx, CStatic)

BEGIN_MESSAGE_MAP(CStaticEx, CStatic)
    ON_WM_PAINT()
    ON_WM_SETCURSOR()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SETTEXT, &CStaticEx::OnSetText)
END_MESSAGE_MAP()

CStaticEx::CStaticEx()
    : m_bkColor(::GetSysColor(COLOR_WINDOW)),
      m_textColor(::GetSysColor(COLOR_BTNTEXT)),
      m_cursor(::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW))
{
}

void CStaticEx::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    ModifyStyle(0, SS_NOTIFY);
}

void CStaticEx::Repaint()
{
    if (!GetSafeHwnd())
        return;
    if (m_transparent) {
        // What shows through is the parent's.
        CWnd* parent = GetParent();
        if (parent) {
            CRect area;
            GetWindowRect(&area);
            parent->ScreenToClient(&area);
            parent->InvalidateRect(area, TRUE);
        }
    }
    Invalidate(FALSE);
}

template <typename T>
T CStaticEx::ChangeAndRepaint(T& field, T value)
{
    T old = std::exchange(field, value);
    Repaint();
    return old;
}

HCURSOR CStaticEx::SetHoverCursor(HCURSOR cursor)
{
    return std::exchange(m_cursor, cursor);
}

bool CStaticEx::SetTransparent(bool transparent)
{
    return ChangeAndRepaint(m_transparent, transparent);
}

int CStaticEx::SetFontSize(int size)
{
    return ChangeAndRepaint(m_fontSize, size);
}

bool CStaticEx::SetFontBold(bool bold)
{
    return ChangeAndRepaint(m_bold, bold);
}

UINT CStaticEx::SetTextFormat(UINT format)
{
    return ChangeAndRepaint(m_format, format);
}

COLORREF CStaticEx::SetTextColor(COLORREF colour)
{
    return ChangeAndRepaint(m_textColor, colour);
}

COLORREF CStaticEx::SetBkColor(COLORREF colour)
{
    return ChangeAndRepaint(m_bkColor, colour);
}

// The font size is the cell height itself (10 gives a 10-unit cell).
void CStaticEx::MakeFont(CFont& font)
{
    CFont pointFont;
    LOGFONTA logFont = {};
    if (pointFont.CreatePointFont(m_fontSize, m_faceName))
        pointFont.GetLogFont(&logFont);
    else
        lstrcpynA(logFont.lfFaceName, m_faceName, LF_FACESIZE);
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = m_fontSize;
    logFont.lfWeight = m_bold ? FW_BOLD : FW_NORMAL;
    logFont.lfUnderline = m_underline;
    font.CreateFontIndirect(&logFont);
}

void CStaticEx::OnPaint()
{
    CPaintDC dc(this);
    CString text;
    GetWindowText(text);
    CRect client;
    GetClientRect(&client);
    if (!m_transparent) {
        CBrush brush(m_bkColor);
        CPen pen(PS_SOLID, 1, m_bkColor);
        CBrush* oldBrush = dc.SelectObject(&brush);
        CPen* oldPen = dc.SelectObject(&pen);
        dc.Rectangle(client);
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
    }
    CFont font;
    MakeFont(font);
    CFont* oldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    UINT format = m_format | DT_SINGLELINE;
    if (IsWindowEnabled()) {
        dc.SetTextColor(m_textColor);
        dc.DrawText(text, client, format);
    } else {
        CRect shadow = client;
        shadow.OffsetRect(1, 1);
        dc.SetTextColor(RGB(255, 255, 255));
        dc.DrawText(text, shadow, format);
        dc.SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        dc.DrawText(text, client, format);
    }
    dc.SelectObject(oldFont);
}

BOOL CStaticEx::OnSetCursor(CWnd*, UINT hitTest, UINT)
{
    if (hitTest != HTCLIENT)
        return FALSE;
    ::SetCursor(m_cursor);
    return TRUE;
}

BOOL CStaticEx::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

// The static control draws a new text at once in its own way; paint it
// again in ours.
LRESULT CStaticEx::OnSetText(WPARAM, LPARAM)
{
    LRESULT result = Default();
    Repaint();
    return result;
}
