#include "toolkit/controls/od_header_ctrl.h"

IMPLEMENT_DYNAMIC(CODHeaderCtrl, CHeaderCtrl)

namespace {
const int kMaxHeadingLength = 255;
const int kMarkWidth = 7;
}

int CODHeaderCtrl::SetSortImage(int column, bool ascending)
{
    int previous = m_sortColumn;
    if (!GetSafeHwnd())
        return previous;
    m_sortColumn = column;
    m_ascending = ascending;
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    if (GetItem(column, &item)) {
        item.fmt |= HDF_OWNERDRAW;
        SetItem(column, &item);
    }
    Invalidate(TRUE);
    return previous;
}

void CODHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC dc;
    dc.Attach(drawItem->hDC);
    int saved = dc.SaveDC();
    CRect item(drawItem->rcItem);
    dc.IntersectClipRect(item);
    dc.FillSolidRect(item, ::GetSysColor(COLOR_BTNFACE));
    int unit = dc.GetTextExtent(" ", 1).cx;

    char text[kMaxHeadingLength + 1] = "";
    HDITEMA header = {};
    header.mask = HDI_TEXT | HDI_FORMAT;
    header.pszText = text;
    header.cchTextMax = sizeof(text);
    GetItem((int)drawItem->itemID, &header);

    bool sorted = (int)drawItem->itemID == m_sortColumn;
    CRect label = item;
    if (drawItem->itemState == ODS_SELECTED) {
        label.left += 1;
        label.top += 2;
        label.right += 1;
    }
    if (sorted)
        label.right -= 3 * unit;
    label.left += unit;
    label.right -= unit;
    if (label.left < label.right) {
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        if (header.fmt & HDF_CENTER)
            format |= DT_CENTER;
        else if (header.fmt & HDF_RIGHT)
            format |= DT_RIGHT;
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
        dc.DrawText(text, -1, label, format);
    }
    if (sorted)
        DrawSortMark(dc, item, unit);
    dc.RestoreDC(saved);
    dc.Detach();
}

// Four lines 7, 5, 3 and 1 pixels long: wide line on top when ascending,
// at the bottom when descending.
void CODHeaderCtrl::DrawSortMark(CDC& dc, const CRect& item, int unit)
{
    CPen pen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
    CPen* old = dc.SelectObject(&pen);
    int left = item.right - unit - kMarkWidth;
    int right = item.right - unit;
    for (int line = 0; line < 4; ++line) {
        int y = m_ascending ? item.bottom - 10 + line : item.bottom - 6 - line;
        dc.MoveTo(left + line, y);
        dc.LineTo(right - line, y);
    }
    dc.SelectObject(old);
}
