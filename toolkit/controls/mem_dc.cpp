#include "toolkit/controls/mem_dc.h"

CMemDC::CMemDC(CDC* target, const RECT* rect, COLORREF fill) : m_target(target)
{
    if (rect && !::IsRectEmpty(rect))
        m_rect = *rect;
    else
        target->GetClipBox(&m_rect);
    CRect device = m_rect;
    target->LPtoDP(&device);
    if (device.IsRectEmpty() || !CreateCompatibleDC(target))
        return;
    if (!m_bitmap.CreateCompatibleBitmap(target, device.Width(), device.Height())) {
        DeleteDC();
        return;
    }
    m_oldBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
    SetMapMode(target->GetMapMode());
    SetWindowOrg(m_rect.left, m_rect.top);
    m_valid = TRUE;
    if (fill != kNoFill)
        FillSolidRect(m_rect, fill);
}

CMemDC::~CMemDC()
{
    if (!m_valid)
        return;
    m_target->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                     SRCCOPY);
    ::SelectObject(m_hDC, m_oldBitmap);
    DeleteDC();
}
