#include "toolkit/controls/bmp_button.h"

#include "graphics/bitmap_paint.h"

IMPLEMENT_DYNAMIC(CBmpButton, CButton)

BOOL CBmpButton::LoadBitmaps(UINT normalId, UINT pressedId, UINT focusedId, UINT disabledId)
{
    if (!m_normal.LoadFromResource(normalId))
        return FALSE;
    // A picture that is asked for must load.
    return (!pressedId || m_pressed.LoadFromResource(pressedId)) &&
           (!focusedId || m_focused.LoadFromResource(focusedId)) &&
           (!disabledId || m_disabled.LoadFromResource(disabledId));
}

void CBmpButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
}

void CBmpButton::SizeToContent()
{
    SetWindowPos((HWND) nullptr, 0, 0, m_normal.GetWidth(), m_normal.GetHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const CDib& CBmpButton::PictureFor(UINT state) const
{
    if ((state & ODS_DISABLED) && m_disabled.m_hBitmap)
        return m_disabled;
    if ((state & ODS_SELECTED) && m_pressed.m_hBitmap)
        return m_pressed;
    if ((state & ODS_FOCUS) && m_focused.m_hBitmap)
        return m_focused;
    return m_normal;
}

void CBmpButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    const CDib& picture = PictureFor(drawItem->itemState);
    if (!picture.m_hBitmap)
        return;
    CRect source(0, 0, picture.GetWidth(), picture.GetHeight());
    if (m_transparent != kOpaque) {
        DrawTransparentBitmap(drawItem->hDC, picture.m_hBitmap, drawItem->rcItem.left, drawItem->rcItem.top,
                              m_transparent);
        return;
    }
    HPALETTE palette = picture.GetPalette() ? (HPALETTE)picture.GetPalette()->m_hObject : nullptr;
    PaintBitmap(drawItem->hDC, picture.m_hBitmap, &drawItem->rcItem, source, palette);
}
