// Painting the tab strip: everything goes into one off-screen surface that
// reaches the window in a single blit.
#include "toolkit/controls/tabset_ctrl.h"

#include "toolkit/controls/mem_dc.h"
#include "toolkit/controls/pen_line.h"

BOOL CTabsetCtrl::OnEraseBkgnd(CDC* dc)
{
    if (m_items.empty()) {
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
    }
    return TRUE;
}

void CTabsetCtrl::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client, ::GetSysColor(COLOR_BTNFACE));
    if (!dc.IsValid())
        return;
    DrawPenLine(dc, m_shadowPen, 0, m_stripRect.top, m_clientWidth, m_stripRect.top);

    for (const ScrollButton& button : m_buttons) {
        if (button.command && ::RectVisible(paint.m_hDC, &button.rect))
            DrawButton(dc, button);
    }

    // The tabs between the buttons and the visible edge; the current one
    // last, on top of its neighbours.
    int saved = dc.SaveDC();
    dc.IntersectClipRect(ButtonAreaWidth(), m_stripRect.top, VisibleEdge(), m_stripRect.bottom);
    for (int i = 0; i < GetItemCount(); ++i) {
        if (i != m_current)
            DrawTab(dc, i);
    }
    if (m_current >= 0)
        DrawTab(dc, m_current);
    dc.RestoreDC(saved);

    if (m_style & kStyleSplitter)
        DrawGrip(dc);
}

void CTabsetCtrl::DrawButton(CDC& dc, const ScrollButton& button)
{
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF light = ::GetSysColor(COLOR_3DHILIGHT);
    CRect face = button.rect;
    if (button.pressed)
        dc.Draw3dRect(face, shadow, light);
    else
        dc.Draw3dRect(face, light, shadow);
    face.DeflateRect(1, 1);
    dc.FillSolidRect(face, ::GetSysColor(COLOR_BTNFACE));
    DrawArrow(dc, button);
}

// A triangle of vertical lines, each two pixels shorter than the one
// before, stepping toward the tip; a bar of full length stands past the tip.
void CTabsetCtrl::DrawArrow(CDC& dc, const ScrollButton& button)
{
    CPen& pen = button.enabled ? m_textPen : m_shadowPen;
    int full = m_buttonWidth / 2 + 2;
    int columns = (full + 1) / 2;
    int width = columns + (button.withBar ? 1 : 0);
    CPoint centre = button.rect.CenterPoint();
    int left = centre.x - width / 2;
    int step = button.pointsLeft ? -1 : 1;
    // The base column stands farthest from the tip.
    int x = button.pointsLeft ? left + width - 1 : left;
    for (int length = full; length > 0; length -= 2, x += step) {
        int top = centre.y - length / 2;
        DrawPenLine(dc, pen, x, top, x, top + length);
    }
    if (button.withBar) {
        int top = centre.y - full / 2;
        DrawPenLine(dc, pen, x, top, x, top + full);
    }
}

void CTabsetCtrl::DrawTab(CDC& dc, int index)
{
    CRect tab;
    GetItemRect(index, &tab);
    bool current = index == m_current;
    CFont* font = current ? m_selectedFont : m_normalFont;
    int h = m_stripHeight;
    int half = h / 2;
    int textWidth = tab.Width() - h - half;
    int L = tab.left;
    int T = m_stripRect.top;
    // The narrow edge at the top, or at the bottom with style 1.
    bool hanging = (m_style & kStyleShiftScrollBar) != 0;
    int wideY = hanging ? T : T + h - 1;
    int narrowY = hanging ? T + h - 1 : T;
    POINT corners[4] = {{L, wideY}, {L + half - 1, narrowY}, {L + textWidth + h - 1, narrowY},
                        {L + textWidth + h + half - 1, wideY}};
    CBrush fill(::GetSysColor(current ? COLOR_WINDOW : COLOR_BTNFACE));
    CBrush* oldBrush = dc.SelectObject(&fill);
    CPen* oldPen = dc.SelectObject(&m_textPen);
    dc.Polygon(corners, 4);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);

    CFont* oldFont = dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(current ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    TEXTMETRICA metrics = {};
    dc.GetTextMetrics(&metrics);
    int textLeft = L + half + half / 2;
    int textTop = T + (h - metrics.tmHeight) / 2 - 1;
    CRect text(textLeft, textTop, textLeft + textWidth, textTop + metrics.tmHeight);
    dc.DrawText(m_items[index]->label, text, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(oldFont);

    int inward = hanging ? -1 : 1;
    if (current) {
        // The wide edge opens into the page; the right slope gets a shadow.
        DrawPenLine(dc, m_windowPen, L + 1, wideY, L + textWidth + h + half - 1, wideY);
        DrawPenLine(dc, m_shadowPen, L + textWidth + h - 2, narrowY - inward, L + textWidth + h + half - 2,
             wideY + inward);
    } else {
        DrawPenLine(dc, m_highlightPen, L + 1, wideY - inward, L + half, narrowY + inward);
    }
}

void CTabsetCtrl::DrawGrip(CDC& dc)
{
    CRect grip = GripRect();
    dc.FillSolidRect(grip, ::GetSysColor(COLOR_BTNFACE));
    dc.Draw3dRect(grip, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));
}
