// The owner-drawn list's hit tests, in-place editing of cells and
// headings, and its column commands.
#include "toolkit/controls/ui_od_list_ctrl.h"

#include <algorithm>

namespace {
const DWORD kEditorStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
const UINT kEditorId = (UINT)-1;
const int kNarrowestEditedColumn = 5;
const int kHeadingBufferStart = 256;
}  // namespace

// ---------------------------------------------------------------------------
// Hit tests.

// The visible row under the point and, in it, the column (by position,
// left to right) whose span holds the point's x, with the cell's rectangle.
// Each place is as wide as the column shown there.
int CUIODListCtrl::FindVisibleCell(CPoint point, CRect& cell, int& column)
{
    std::vector<int> order = GetColumnOrder();
    int top = GetTopIndex();
    int last = std::min<int>(top + GetCountPerPage(), GetItemCount() - 1);
    CRect client;
    GetClientRect(&client);
    for (int row = top; row <= last; ++row) {
        CRect rect;
        GetItemRect(row, &rect, LVIR_BOUNDS);
        if (!rect.PtInRect(point))
            continue;
        int left = rect.left;
        for (int i = 0; i < m_columnCount; ++i) {
            int width = (int)SendMessage(LVM_GETCOLUMNWIDTH, order[i]);
            if (point.x >= left && point.x <= left + width) {
                column = i;
                cell = CRect(left, rect.top, std::min<int>(left + width, client.right), rect.bottom);
                return row;
            }
            left += width;
        }
    }
    return -1;
}

int CUIODListCtrl::HitTestEx(CPoint point, CRect& cell, int& column)
{
    if ((GetStyle() & LVS_TYPEMASK) != LVS_REPORT)
        return -1;
    int row = FindVisibleCell(point, cell, column);
    if (row >= 0 && !m_order.empty())
        column = GetColumnOrder()[column];
    return row;
}

int CUIODListCtrl::HitTestCell(CPoint point, int* column)
{
    UINT flags = 0;
    int hit = HitTest(point, &flags);
    if ((GetStyle() & LVS_TYPEMASK) != LVS_REPORT)
        return hit;
    if (m_header.GetSafeHwnd()) {
        CRect header;
        m_header.GetClientRect(&header);
        if (point.y >= 0 && point.y <= header.bottom)
            return -2;
    }
    CRect cell;
    int found = 0;
    int row = FindVisibleCell(point, cell, found);
    if (row >= 0 && column)
        *column = found;
    return row;
}

// ---------------------------------------------------------------------------
// In-place editing.

CInPlaceEdit* CUIODListCtrl::EditSubItem(int row, int column)
{
    if (!m_cellEditingAllowed || !(GetStyle() & LVS_EDITLABELS))
        return nullptr;
    if (!EnsureVisible(row, TRUE) || !m_header.GetSafeHwnd())
        return nullptr;
    if (column < 0 || column >= m_header.GetItemCount())
        return nullptr;
    int width = (int)SendMessage(LVM_GETCOLUMNWIDTH, column);
    if (width < kNarrowestEditedColumn)
        return nullptr;
    int offset = 0;
    for (int i = 0; i < column; ++i)
        offset += (int)SendMessage(LVM_GETCOLUMNWIDTH, i);
    CRect rect;
    GetItemRect(row, &rect, LVIR_BOUNDS);
    CRect client;
    GetClientRect(&client);
    if (offset + rect.left < 0 || offset + rect.left > client.right) {
        CSize scroll(offset + rect.left, 0);
        Scroll(scroll);
        rect.left -= scroll.cx;
    }

    LVCOLUMNA info = {};
    info.mask = LVCF_FMT;
    SendMessage(LVM_GETCOLUMNA, column, (LPARAM)&info);
    DWORD alignment = ES_LEFT;
    if ((info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
        alignment = ES_RIGHT;
    else if ((info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
        alignment = ES_CENTER;

    CRect editor(rect.left + offset + 4, rect.top, rect.left + offset + width + 1, rect.bottom);
    editor.right = std::min<int>(editor.right, client.right);
    CInPlaceEdit* edit = new CInPlaceEdit(row, column, GetItemText(row, column));
    if (!edit->Create(kEditorStyle | alignment, editor, this, kEditorId)) {
        delete edit;
        return nullptr;
    }
    return edit;
}

void CUIODListCtrl::OnEditCellCommand()
{
    if (!m_hasClickPoint)
        return;
    CPoint point = m_clickPoint;
    ScreenToClient(&point);
    int column = 0;
    int row = HitTestCell(point, &column);
    if (row >= 0 && (GetItemState(row, LVIS_FOCUSED) & LVIS_FOCUSED) && column >= 1)
        EditSubItem(row, column);
}

CString CUIODListCtrl::GetHeadingText(int column) const
{
    for (int size = kHeadingBufferStart;; size *= 2) {
        CString text;
        HDITEMA item = {};
        item.mask = HDI_TEXT;
        item.pszText = text.GetBuffer(size);
        item.cchTextMax = size;
        BOOL got = m_header.GetItem(column, &item);
        text.ReleaseBuffer();
        if (!got)
            return CString();
        if (text.GetLength() < size - 1)
            return text;
    }
}

void CUIODListCtrl::EditHeading(int column)
{
    if (!m_header.GetSafeHwnd() || column < 0 || column >= m_header.GetItemCount())
        return;
    int left = 0;
    for (int i = 0; i < column && i < (int)m_widths.size(); ++i)
        left += m_widths[i];
    HDITEMA item = {};
    item.mask = HDI_WIDTH;
    m_header.GetItem(column, &item);
    CRect rect(left, 0, left + item.cxy, ::GetSystemMetrics(SM_CXHSCROLL));
    CInPlaceEdit* edit = new CInPlaceEdit(-1, column, GetHeadingText(column));
    if (!edit->Create(kEditorStyle, rect, this, kEditorId))
        delete edit;
}

void CUIODListCtrl::OnEditHeadingCommand()
{
    EditHeading(m_chosenColumn);
    m_chosenColumn = -1;
}

void CUIODListCtrl::ReplaceHeadingInList(const CString& oldHeading, LPCSTR newHeading)
{
    std::vector<CString> pieces;
    int start = 0;
    CString rebuilt;
    bool replaced = false;
    for (;;) {
        int bar = m_headings.Find('|', start);
        CString piece = bar < 0 ? m_headings.Mid(start) : m_headings.Mid(start, bar - start);
        if (!replaced && piece == oldHeading) {
            piece = newHeading;
            replaced = true;
        }
        rebuilt += piece;
        if (bar < 0)
            break;
        rebuilt += "|";
        start = bar + 1;
    }
    m_headings = rebuilt;
}

BOOL CUIODListCtrl::OnEndLabelEdit(NMLVDISPINFOA* dispInfo, LRESULT* result)
{
    *result = 0;
    LPCSTR text = dispInfo->item.pszText;
    if (!text)
        return TRUE;
    int row = dispInfo->item.iItem;
    int column = dispInfo->item.iSubItem;
    if (row == -1) {
        CString oldHeading = GetHeadingText(column);
        ReplaceHeadingInList(oldHeading, text);
        if (AcceptLabelEdit(-1, column, text)) {
            HDITEMA item = {};
            item.mask = HDI_TEXT;
            item.pszText = const_cast<LPSTR>(text);
            m_header.SetItem(column, &item);
        }
        return TRUE;
    }
    if (AcceptLabelEdit(row, column, text))
        SetItemText(row, column, text, 0);
    return TRUE;
}

BOOL CUIODListCtrl::AcceptLabelEdit(int, int, LPCSTR)
{
    return FALSE;
}

// ---------------------------------------------------------------------------
// Hiding and showing columns.

void CUIODListCtrl::OnHideColumnCommand()
{
    int column = m_chosenColumn;
    m_chosenColumn = -1;
    if (column < 0 || column >= (int)m_widths.size())
        return;
    int width = (int)SendMessage(LVM_GETCOLUMNWIDTH, column);
    if (width == 0)
        return;
    m_widths[column] = width;
    SendMessage(LVM_SETCOLUMNWIDTH, column, 0);
}

void CUIODListCtrl::OnShowAllColumnsCommand()
{
    for (int i = 0; i < (int)m_widths.size(); ++i)
        SendMessage(LVM_SETCOLUMNWIDTH, i, MAKELPARAM(LOWORD(m_widths[i]), 0));
    m_chosenColumn = -1;
}
