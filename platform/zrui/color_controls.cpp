#include "platform/zrui/color_controls.h"

#include <algorithm>

#include "platform/zrui/zrui.h"

namespace ZrUI {

BEGIN_MESSAGE_MAP(CColorGrid, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

int CColorGrid::CellSize() const
{
    CRect client;
    GetClientRect(&client);
    int size = std::min(client.Width() / kColumns, client.Height() / kRows);
    return size > 1 ? size : 1;
}

CRect CColorGrid::CellRect(short index) const
{
    int size = CellSize();
    int left = (index % kColumns) * size;
    int top = (index / kColumns) * size;
    return CRect(left, top, left + size, top + size);
}

void CColorGrid::SetSelection(short index)
{
    if (index < 0 || index >= kColumns * kRows || index == m_selection)
        return;
    // The frame of the chosen cell reaches a pixel beyond it.
    CRect before = CellRect(m_selection);
    before.InflateRect(1, 1);
    InvalidateRect(before, FALSE);
    m_selection = index;
    CRect after = CellRect(m_selection);
    after.InflateRect(1, 1);
    InvalidateRect(after, FALSE);
}

BOOL CColorGrid::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CColorGrid::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    for (short index = 0; index < kColumns * kRows; ++index) {
        CRect cell = CellRect(index);
        dc.FillSolidRect(&cell, RGB(128, 128, 128));
        cell.DeflateRect(1, 1);
        dc.FillSolidRect(&cell, GetColorIndex(index, nullptr));
    }
    // The chosen cell gets a black and a white frame, seen on any colour.
    CRect chosen = CellRect(m_selection);
    chosen.InflateRect(1, 1);
    dc.Draw3dRect(&chosen, RGB(0, 0, 0), RGB(0, 0, 0));
    chosen.DeflateRect(1, 1);
    dc.Draw3dRect(&chosen, RGB(255, 255, 255), RGB(255, 255, 255));
}

void CColorGrid::OnLButtonDown(UINT, CPoint point)
{
    int size = CellSize();
    int column = point.x / size;
    int row = point.y / size;
    if (point.x >= 0 && point.y >= 0 && column < kColumns && row < kRows)
        SetSelection((short)(row * kColumns + column));
    // The static control itself tells its parent of the click.
    Default();
}

BEGIN_MESSAGE_MAP(CColorSwatch, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CColorSwatch::SetIndex(short index)
{
    m_index = index;
    Invalidate(FALSE);
}

BOOL CColorSwatch::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CColorSwatch::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetColorIndex(m_index, nullptr));
}

}  // namespace ZrUI
