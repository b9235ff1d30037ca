#include "toolkit/controls/quorvantix_progress.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CQuorvantixProgress, CStatic)

BEGIN_MESSAGE_MAP(CQuorvantixProgress, CStatic)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
const int kPictureBits = 16;
const int kShadowWidth = 2;
}

void CQuorvantixProgress::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
    DrawPicture();
}

int CQuorvantixProgress::SetPos(int position)
{
    int old = m_position;
    m_position = position;
    DrawPicture();
    return old;
}

void CQuorvantixProgress::OnSize(UINT type, int cx, int cy)
{
    CStatic::OnSize(type, cx, cy);
    if (cx > 1 && cy > 1)
        m_picture.Create(cx - 1, cy - 1, kPictureBits);
    DrawPicture();
}

void CQuorvantixProgress::DrawPicture()
{
    if (!GetSafeHwnd() || m_picture.GetWidth() == 0)
        return;
    CClientDC reference(this);
    CDC* dc = m_picture.BeginMemDC(&reference);
    if (!dc)
        return;
    CRect client;
    GetClientRect(&client);
    // An upper bound of 0 (or less) shows an empty bar.
    int filled = client.left;
    if (m_upper > 0) {
        long long done = (long long)client.Width() * std::max<int>(m_position, 0) / m_upper;
        filled = client.left + (int)std::min<long long>(done, client.Width());
    }
    int bottom = client.bottom - 1;
    dc->FillSolidRect(CRect(client.left, client.top, filled, bottom), ::GetSysColor(COLOR_BTNFACE));
    dc->FillSolidRect(CRect(filled, client.top, client.right, bottom), ::GetSysColor(COLOR_INFOBK));
    dc->FillSolidRect(CRect(std::max<int>(filled - kShadowWidth, client.left), client.top, filled, bottom),
                      ::GetSysColor(COLOR_BTNSHADOW));
    CString text;
    text.Format("%d / %d", m_position, m_upper);
    CFont* font = GetFont();
    CFont* oldFont = font ? dc->SelectObject(font) : nullptr;
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    dc->DrawText(text, client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (oldFont)
        dc->SelectObject(oldFont);
    m_picture.EndMemDC();
    Invalidate(FALSE);
}

void CQuorvantixProgress::OnPaint()
{
    CPaintDC dc(this);
    m_picture.Draw(&dc, 0, 0, SRCCOPY);
}

BOOL CQuorvantixProgress::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
