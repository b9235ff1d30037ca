// The owner-drawn list's rows, columns, typed cell texts and sorting.
#include "toolkit/controls/ui_od_list_ctrl.h"

#include <algorithm>

#include "core/locale_info.h"
#include "toolkit/controls/list_cell_text.h"

namespace {

const int kHeadingsLength = 511;
const int kCellTextLimit = 260;
const int kDefaultWidths[] = {100, 60, 150, 120};
const int kDefaultWidthPastTable = 100;

int DefaultWidth(int column)
{
    return column < 4 ? kDefaultWidths[column] : kDefaultWidthPastTable;
}

// The headings of "A|B|C".
std::vector<CString> SplitHeadings(const CString& headings)
{
    std::vector<CString> pieces;
    int start = 0;
    for (;;) {
        int bar = headings.Find('|', start);
        if (bar < 0) {
            pieces.push_back(headings.Mid(start));
            return pieces;
        }
        pieces.push_back(headings.Mid(start, bar - start));
        start = bar + 1;
    }
}

bool IsPermutation(const std::vector<int>& order, int count)
{
    if ((int)order.size() != count)
        return false;
    std::vector<bool> seen(count, false);
    for (int column : order) {
        if (column < 0 || column >= count || seen[column])
            return false;
        seen[column] = true;
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Columns.

void CUIODListCtrl::InitializeList()
{
}

int CUIODListCtrl::InitColumnHeadings(LPCSTR headings)
{
    return InitColumns(nullptr, headings);
}

int CUIODListCtrl::InitColumnsWithIcon(UINT iconId, LPCSTR headings)
{
    const UINT icons[2] = {iconId, 0};
    return InitColumns(icons, headings);
}

int CUIODListCtrl::InitColumns(const UINT* iconIds, LPCSTR headings)
{
    if (m_columnCount > 0) {
        if (!headings)
            return -1;
        if (m_headings == headings)
            return m_columnCount;
        SendMessage(LVM_DELETEALLITEMS);
        for (int count = m_columnCount; count > 0; --count)
            SendMessage(LVM_DELETECOLUMN, 0);
        m_columnCount = 0;
        FreeRowData();
    }
    if (m_extendedStyle)
        SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, m_extendedStyle);
    for (const UINT* id = iconIds; id && *id; ++id) {
        HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(*id));
        if (!icon)
            continue;
        HIMAGELIST smallList = nullptr;
        HIMAGELIST largeList = nullptr;
        GetImageLists(smallList, largeList);
        m_iconImages[*id] = ImageList_ReplaceIcon(smallList, -1, icon);
        ImageList_ReplaceIcon(largeList, -1, icon);
    }
    if (!headings) {
        SubclassHeader();
        return m_columnCount;
    }

    CString text(headings, std::min<int>(lstrlenA(headings), kHeadingsLength));
    std::vector<CString> pieces = SplitHeadings(text);
    m_columnCount = (int)pieces.size();
    for (int i = 0; i < (int)pieces.size(); ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = DefaultWidth(i);
        column.pszText = const_cast<LPSTR>(pieces[i].GetString());
        column.iSubItem = i;
        if (SendMessage(LVM_INSERTCOLUMNA, i, (LPARAM)&column) < 0)
            --m_columnCount;
    }
    m_headings = headings;
    ApplyColumnOrder();
    ApplyColumnWidths();
    if (m_types.empty())
        m_types.assign(m_columnCount, 0);
    SubclassHeader();
    return m_columnCount;
}

void CUIODListCtrl::ApplyColumnOrder()
{
    if (m_order.empty())
        return;
    // A stored order that is no arrangement of these columns is dropped.
    if (!IsPermutation(m_order, m_columnCount)) {
        m_order.clear();
        return;
    }
    SendMessage(LVM_SETCOLUMNORDERARRAY, m_columnCount, (LPARAM)m_order.data());
}

void CUIODListCtrl::ApplyColumnWidths()
{
    if ((int)m_widths.size() == m_columnCount) {
        for (int i = 0; i < m_columnCount; ++i) {
            int width = (short)LOWORD(m_widths[i]);
            if (width > 0)
                SendMessage(LVM_SETCOLUMNWIDTH, i, MAKELPARAM(width, 0));
            else if (width < 0)
                m_widths[i] = DefaultWidth(i);
        }
        return;
    }
    // None stored, or a set for other columns: the widths the columns have.
    m_widths.assign(m_columnCount, 0);
    for (int i = 0; i < m_columnCount; ++i)
        m_widths[i] = (int)SendMessage(LVM_GETCOLUMNWIDTH, i);
}

std::vector<int> CUIODListCtrl::GetColumnOrder() const
{
    std::vector<int> order(m_columnCount, 0);
    if (m_columnCount > 0)
        SendMessage(LVM_GETCOLUMNORDERARRAY, m_columnCount, (LPARAM)order.data());
    return order;
}

int CUIODListCtrl::AddColumn(LPCSTR heading)
{
    int length = lstrlenA(heading);
    int separators = 0;
    for (LPCSTR p = m_headings; length > 0 && *p; p = ::CharNextA(p)) {
        if (strncmp(p, heading, length) == 0)
            return separators;
        if (*p == '|')
            ++separators;
    }
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<LPSTR>(heading);
    int index = (int)SendMessage(LVM_INSERTCOLUMNA, m_columnCount, (LPARAM)&column);
    if (index < 0)
        return -1;
    m_headings += "|";
    m_headings += heading;
    ++m_columnCount;
    m_widths.resize(m_columnCount, (int)SendMessage(LVM_GETCOLUMNWIDTH, index));
    m_types.resize(m_columnCount, 0);
    return index;
}

BOOL CUIODListCtrl::SetColumnFormat(int column, int format)
{
    LVCOLUMNA info = {};
    info.mask = LVCF_FMT;
    info.fmt = format;
    return (BOOL)SendMessage(LVM_SETCOLUMNA, column, (LPARAM)&info);
}

int CUIODListCtrl::GetColumnType(int column) const
{
    return column >= 0 && column < (int)m_types.size() ? m_types[column] : 0;
}

LRESULT CUIODListCtrl::OnDeleteColumnMessage(WPARAM wParam, LPARAM lParam)
{
    if (m_columnCount > 0)
        --m_columnCount;
    return DefWindowProc(LVM_DELETECOLUMN, wParam, lParam);
}

LRESULT CUIODListCtrl::OnSetColumnWidthMessage(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(LVM_SETCOLUMNWIDTH, wParam, lParam);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Rows.

CUIListCtrlData* CUIODListCtrl::CreateRowData(void* object, int)
{
    CUIListCtrlData* row = new CUIListCtrlData;
    row->m_object = object;
    return row;
}

int CUIODListCtrl::AddObject(void* object, int image)
{
    if (m_columnCount == 0)
        return 0;
    CUIListCtrlData* record = CreateRowData(object, m_rowCount);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = m_rowCount;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.cchTextMax = kCellTextLimit;
    item.iImage = image;
    item.lParam = (LPARAM)record;
    int row = (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) {
        delete record;
        return -1;
    }
    m_rows.AddTail(record);
    if (image != 0)
        m_rowImages = true;
    ++m_rowCount;
    return row;
}

CUIListCtrlData* CUIODListCtrl::GetRowData(int row) const
{
    if (row < 0 || !GetSafeHwnd())
        return nullptr;
    // Straight to the list view: this runs for every cell set.
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!const_cast<CUIODListCtrl*>(this)->DefWindowProc(LVM_GETITEMA, 0, (LPARAM)&item))
        return nullptr;
    return (CUIListCtrlData*)item.lParam;
}

void* CUIODListCtrl::GetItemExtData(int row) const
{
    CUIListCtrlData* record = GetRowData(row);
    return record ? record->m_object : nullptr;
}

LRESULT CUIODListCtrl::OnDeleteAllItemsMessage(WPARAM wParam, LPARAM lParam)
{
    m_rowCount = 0;
    m_rowImages = false;
    // The records go after the rows, so that no notice of the deletion
    // reads a freed record.
    LRESULT result = DefWindowProc(LVM_DELETEALLITEMS, wParam, lParam);
    OnDeleteAllItems();
    m_rows.DeleteAll();
    return result;
}

void CUIODListCtrl::OnDeleteAllItems()
{
}

LRESULT CUIODListCtrl::OnDeleteItemMessage(WPARAM wParam, LPARAM lParam)
{
    if (m_rowCount > 0)
        --m_rowCount;
    return DefWindowProc(LVM_DELETEITEM, wParam, lParam);
}

int CUIODListCtrl::FreeRowData()
{
    m_rows.DeleteAll();
    m_widths.clear();
    m_order.clear();
    m_types.clear();
    return 0;
}

// ---------------------------------------------------------------------------
// Cell texts.

BOOL CUIODListCtrl::SetItemText(int row, int column, LPCSTR text, int type)
{
    if (m_rowCount == 0 || column >= m_columnCount || column < 0)
        return FALSE;
    if (column < (int)m_types.size())
        m_types[column] = type;
    CUIStrListCtrlData* record = DYNAMIC_DOWNCAST(CUIStrListCtrlData, GetRowData(row));
    if (!record)
        return FALSE;
    if (type != 3 && type != 7 && type != 4 && type != 8)
        return record->SetCellText(column, text);
    CString formatted = text ? text : "";
    if (type == 3 || type == 7)
        FormatThousands(formatted);
    else
        FormatDuration(formatted);
    return record->SetCellText(column, formatted);
}

BOOL CUIODListCtrl::SetItemInt(int row, int column, int value, int type)
{
    CString text;
    text.Format("%d", value);
    return SetItemText(row, column, text, type);
}

BOOL CUIODListCtrl::SetItemDouble(int row, int column, double value, int type)
{
    return SetItemText(row, column, FormatDoubleText(value), type);
}

BOOL CUIODListCtrl::SetItemDateTime(int row, int column, DATE dateTime, int type)
{
    return SetItemText(row, column, FormatDateTimeText(dateTime), type);
}

void CUIODListCtrl::SetRowText(int row, LPCSTR text)
{
    CUIStrListCtrlData* record = DYNAMIC_DOWNCAST(CUIStrListCtrlData, GetRowData(row));
    if (record)
        record->m_rowText = text ? text : "";
}

BOOL CUIODListCtrl::GetDispInfoText(NMLVDISPINFOA* dispInfo)
{
    CUIStrListCtrlData* record = DYNAMIC_DOWNCAST(CUIStrListCtrlData, (CObject*)dispInfo->item.lParam);
    if (!record)
        return FALSE;
    if (dispInfo->item.mask & LVIF_TEXT) {
        LPCSTR text = record->GetCellText(dispInfo->item.iSubItem);
        dispInfo->item.pszText = const_cast<LPSTR>(text ? text : "");
    }
    return TRUE;
}

// The row's cell text for a caller's buffer. The count returned is the
// text's length, as the list view itself answers.
LRESULT CUIODListCtrl::OnGetItemTextMessage(WPARAM wParam, LPARAM lParam)
{
    LVITEMA* caller = (LVITEMA*)lParam;
    if (!caller || !caller->pszText || caller->cchTextMax <= 0)
        return 0;
    int row = (int)wParam;
    CUIStrListCtrlData* record = DYNAMIC_DOWNCAST(CUIStrListCtrlData, GetRowData(row));
    if (record) {
        LPCSTR text = record->GetCellText(caller->iSubItem);
        lstrcpynA(caller->pszText, text ? text : "", caller->cchTextMax);
        return lstrlenA(caller->pszText);
    }
    NMLVDISPINFOA info = {};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
    info.hdr.code = LVN_GETDISPINFOA;
    info.item = *caller;
    info.item.iItem = row;
    info.item.mask = LVIF_TEXT;
    info.item.lParam = (LPARAM)GetRowData(row);
    SendMessage(WM_NOTIFY, info.hdr.idFrom, (LPARAM)&info);
    if (info.item.pszText != caller->pszText)
        lstrcpynA(caller->pszText, info.item.pszText ? info.item.pszText : "", caller->cchTextMax);
    return lstrlenA(caller->pszText);
}

void CUIODListCtrl::FormatThousands(CString& text)
{
    const CLocaleInfo& locale = CLocaleInfo::Instance();
    FormatThousandsText(text, locale.GetNegativeSign(), locale.GetDecimalSeparator(),
                        locale.GetThousandSeparator());
}

void CUIODListCtrl::FormatDuration(CString& text)
{
    FormatDurationText(text, CLocaleInfo::Instance().GetDecimalSeparator());
}

// ---------------------------------------------------------------------------
// Fonts.

void CUIODListCtrl::SetSubItemFont(int row, int column, CFont* font)
{
    CUIListCtrlData* record = GetRowData(row);
    LOGFONTA logFont = {};
    if (record && font && font->GetLogFont(&logFont))
        record->SetCellFont(column, logFont);
}

void CUIODListCtrl::SetItemFont(int row, CFont* font)
{
    for (int column = 0; column < m_columnCount; ++column)
        SetSubItemFont(row, column, font);
}

// The row's first cell font (else the list's), bold or normal.
bool CUIODListCtrl::BoldOrNormalFont(CUIListCtrlData* record, BOOL bold, LOGFONTA& logFont)
{
    CFont* base = record->GetCellFont(0) ? record->GetCellFont(0) : GetFont();
    if (!base || !base->GetLogFont(&logFont))
        return false;
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    return true;
}

void CUIODListCtrl::SetSubItemBold(int row, int column, BOOL bold)
{
    CUIListCtrlData* record = GetRowData(row);
    LOGFONTA logFont = {};
    if (record && BoldOrNormalFont(record, bold, logFont))
        record->SetCellFont(column, logFont);
}

void CUIODListCtrl::SetItemBold(int row, BOOL bold)
{
    CUIListCtrlData* record = GetRowData(row);
    LOGFONTA logFont = {};
    if (!record || !BoldOrNormalFont(record, bold, logFont))
        return;
    for (int column = 0; column < m_columnCount; ++column)
        record->SetCellFont(column, logFont);
    RedrawItem(row);
}

// ---------------------------------------------------------------------------
// Sorting.

int CALLBACK CUIODListCtrl::CompareRows(LPARAM first, LPARAM second, LPARAM sortInfo)
{
    const CUIODListCtrlSortInfo* info = (const CUIODListCtrlSortInfo*)sortInfo;
    const CUIListCtrlData* a = (const CUIListCtrlData*)first;
    const CUIListCtrlData* b = (const CUIListCtrlData*)second;
    int order = 0;
    if (info->m_keysRead) {
        order = a->m_sortKey > b->m_sortKey ? 1 : a->m_sortKey < b->m_sortKey ? -1 : 0;
    } else if (info->m_textKeysMade) {
        order = strcmp(a->m_sortText, b->m_sortText);
    } else {
        LPCSTR textA = a->GetCellText(info->m_column);
        LPCSTR textB = b->GetCellText(info->m_column);
        order = CompareCellTexts(info->m_columnType, textA ? textA : "", textB ? textB : "");
    }
    return info->m_ascending ? order : -order;
}

// The sorted column's numbers, dates or text sort keys are made for every
// row once, not at every compare.
void CUIODListCtrl::SortRows(CUIODListCtrlSortInfo& info)
{
    PFNLVCOMPARE compare = GetCompareFunc();
    if (compare == &CUIODListCtrl::CompareRows)
        ReadSortKeys(info);
    SendMessage(LVM_SORTITEMS, (WPARAM)&info, (LPARAM)compare);
    POSITION position = m_rows.GetHeadPosition();
    while (position)
        ((CUIListCtrlData*)m_rows.GetNext(position))->m_sortText = nullptr;
}

void CUIODListCtrl::ReadSortKeys(CUIODListCtrlSortInfo& info)
{
    bool numeric = CellTypeHasKey(info.m_columnType);
    std::vector<size_t> offsets;
    POSITION position = m_rows.GetHeadPosition();
    while (position) {
        CUIListCtrlData* record = (CUIListCtrlData*)m_rows.GetNext(position);
        LPCSTR text = record->GetCellText(info.m_column);
        if (numeric) {
            record->m_sortKey = CellKey(info.m_columnType, text ? text : "");
        } else {
            offsets.push_back(info.m_sortTexts.size());
            AppendTextSortKey(text ? text : "", info.m_sortTexts);
        }
    }
    if (numeric) {
        info.m_keysRead = true;
        return;
    }
    size_t index = 0;
    position = m_rows.GetHeadPosition();
    while (position)
        ((CUIListCtrlData*)m_rows.GetNext(position))->m_sortText = info.m_sortTexts.data() + offsets[index++];
    info.m_textKeysMade = true;
}

PFNLVCOMPARE CUIODListCtrl::GetCompareFunc()
{
    return &CUIODListCtrl::CompareRows;
}

void CUIODListCtrl::Sort()
{
    if (m_types.empty())
        return;
    // A sort column these columns do not have sorts by the first.
    if (m_sortColumn < 0 || m_sortColumn >= (int)m_types.size())
        m_sortColumn = 0;
    CUIODListCtrlSortInfo info(m_ascending, m_sortColumn, m_types[m_sortColumn]);
    SortRows(info);
    MarkSort();
}

void CUIODListCtrl::MarkSort()
{
    if (!GetSafeHwnd())
        return;
    SubclassHeader();
    m_header.SetSortImage(m_sortColumn, m_ascending);
}

BOOL CUIODListCtrl::OnColumnClick(NMLISTVIEW* listView)
{
    int column = listView->iSubItem;
    m_ascending = column == m_sortColumn ? !m_ascending : true;
    m_sortColumn = column;
    OnSortChanged();
    MarkSort();
    CUIODListCtrlSortInfo info(m_ascending, m_sortColumn, GetColumnType(m_sortColumn));
    SortRows(info);
    int row = GetSelectedOrFocusedRow();
    if (row >= 0)
        EnsureVisible(row, FALSE);
    return TRUE;
}

void CUIODListCtrl::OnSortChanged()
{
}

void CUIODListCtrl::GetSortInfo(int& column, bool& ascending) const
{
    column = m_sortColumn;
    ascending = m_ascending;
}

void CUIODListCtrl::SetSortColumn(int column)
{
    SetSortInfo(column, m_ascending);
}

void CUIODListCtrl::SetSortAscending(bool ascending)
{
    SetSortInfo(m_sortColumn, ascending);
}

void CUIODListCtrl::SetSortInfo(int column, bool ascending)
{
    if (column == m_sortColumn && ascending == m_ascending)
        return;
    SetSortInfoNoResort(column, ascending);
    Sort();
}

void CUIODListCtrl::SetSortInfoNoResort(int column, bool ascending)
{
    if (column == m_sortColumn && ascending == m_ascending)
        return;
    m_sortColumn = column;
    m_ascending = ascending;
    MarkSort();
}
