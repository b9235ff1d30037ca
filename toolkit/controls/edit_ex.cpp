#include "toolkit/controls/edit_ex.h"

#include <utility>

#include "core/locale_info.h"

IMPLEMENT_DYNAMIC(CEditEx, CEdit)

BEGIN_MESSAGE_MAP(CEditEx, CEdit)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_CHAR()
END_MESSAGE_MAP()

CEditEx::CEditEx() : m_bkColor(::GetSysColor(COLOR_WINDOW)), m_textColor(::GetSysColor(COLOR_WINDOWTEXT))
{
    m_bkBrush.CreateSolidBrush(m_bkColor);
}

void CEditEx::SetCharFilter(DWORD context, EditCharFilter filter)
{
    m_filterContext = context;
    m_filter = filter;
}

void CEditEx::Repaint()
{
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

COLORREF CEditEx::SetTextColor(COLORREF colour)
{
    COLORREF old = std::exchange(m_textColor, colour);
    Repaint();
    return old;
}

COLORREF CEditEx::SetBkColor(COLORREF colour)
{
    COLORREF old = std::exchange(m_bkColor, colour);
    m_bkBrush.DeleteObject();
    m_bkBrush.CreateSolidBrush(colour);
    Repaint();
    return old;
}

HBRUSH CEditEx::CtlColor(CDC* dc, UINT)
{
    dc->SetTextColor(m_textColor);
    dc->SetBkColor(m_bkColor);
    return (HBRUSH)m_bkBrush.m_hObject;
}

void CEditEx::OnChar(UINT ch, UINT repeatCount, UINT flags)
{
    if (!m_filter) {
        Default();
        return;
    }
    UINT newCh = ch;
    UINT newRepeat = repeatCount;
    UINT newFlags = flags;
    m_filter(m_filterContext, this, newCh, newRepeat, newFlags);
    if (newCh == 0)
        return;
    if (newCh == ch && newRepeat == repeatCount && newFlags == flags) {
        Default();
        return;
    }
    DefWindowProc(WM_CHAR, newCh, MAKELPARAM(newRepeat, newFlags));
}

void CEditEx::AppendLine(LPCSTR text)
{
    int length = GetWindowTextLength();
    SendMessage(EM_SETSEL, length, length);
    SendMessage(EM_SCROLLCARET);
    CString line = length > 0 ? CString("\r\n") : CString();
    line += text;
    SendMessage(EM_REPLACESEL, FALSE, (LPARAM)line.GetString());
    SendMessage(EM_FMTLINES, TRUE);
}

// ---------------------------------------------------------------------------

namespace {

void FilterNumber(CEditEx* edit, UINT& ch, bool allowMinus)
{
    CString separators = CLocaleInfo::Instance().GetDecimalSeparator();
    char separator = separators.IsEmpty() ? '.' : separators[0];
    bool digit = ch >= '0' && ch <= '9';
    bool isSeparator = ch == (UINT)(BYTE)separator;
    bool isMinus = allowMinus && ch == '-';
    if (!digit && !isSeparator && !isMinus && ch != VK_BACK) {
        ch = 0;
        return;
    }
    if (isSeparator || isMinus) {
        CString text;
        edit->GetWindowText(text);
        if (text.Find((char)ch) >= 0)
            ch = 0;
    }
}

}  // namespace

void NumericCharFilter(DWORD, CEditEx* edit, UINT& ch, UINT&, UINT&)
{
    FilterNumber(edit, ch, true);
}

void PositiveNumericCharFilter(DWORD, CEditEx* edit, UINT& ch, UINT&, UINT&)
{
    FilterNumber(edit, ch, false);
}
